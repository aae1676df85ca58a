#pragma once

#include "platform/ui/dialog_service.h"

#include <deque>
#include <vector>

namespace ui::testing {

// One kind of dialog in a test: every request is recorded; answers come from a queue; with an empty queue
// the dialog is cancelled and counted as unscripted.
template <typename Request, typename Result> struct DialogScript {
    std::deque<Result> answers;
    std::vector<Request> requests;
    int unscripted = 0;

    Result next(const Request& request)
    {
        requests.push_back(request);
        if (answers.empty()) {
            ++unscripted;
            return Result{};
        }
        Result result = answers.front();
        answers.pop_front();
        return result;
    }
    void reset() { *this = DialogScript{}; }
};

class ScriptedDialogs : public DialogService {
public:
    FileDialogResult openFile(const FileDialogRequest& request) override { return open.next(request); }
    FileDialogResult saveFile(const FileDialogRequest& request) override { return save.next(request); }
    ColorDialogResult chooseColor(const ColorDialogRequest& request) override { return color.next(request); }
    FontDialogResult chooseFont(const FontDialogRequest& request) override { return font.next(request); }
    PrintDialogResult print(const PrintDialogRequest& request) override { return printing.next(request); }
    PageSetupResult pageSetup(const PageSetupRequest& request) override
    {
        return pageSetupScript.next(request);
    }

    // The user picks `fileName` (with the filter entry `filterIndex`) in the next open / save dialog.
    void answerOpen(const QString& fileName, int filterIndex = 1);
    void answerSave(const QString& fileName, int filterIndex = 1);
    // The user cancels the next open / save dialog (the same as an empty queue, but counted as scripted).
    void cancelOpen() { open.answers.push_back(FileDialogResult{}); }
    void cancelSave() { save.answers.push_back(FileDialogResult{}); }
    int unscriptedCount() const;
    void reset();

    DialogScript<FileDialogRequest, FileDialogResult> open;
    DialogScript<FileDialogRequest, FileDialogResult> save;
    DialogScript<ColorDialogRequest, ColorDialogResult> color;
    DialogScript<FontDialogRequest, FontDialogResult> font;
    DialogScript<PrintDialogRequest, PrintDialogResult> printing;
    DialogScript<PageSetupRequest, PageSetupResult> pageSetupScript;
};

} // namespace ui::testing
