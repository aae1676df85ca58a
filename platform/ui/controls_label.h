#pragma once

#include "platform/ui/control.h"

#include <QPointer>

class QLabel;

namespace ui {

// Classic alignment values of labels and text boxes.
enum AlignmentValue : int { vbLeftJustify = 0, vbRightJustify = 1, vbCenter = 2 };

// Classic label. The caption's "&" marks an accelerator and "&&" shows one "&". BackStyle 0 is transparent,
// 1 opaque; BorderStyle 0 none, 1 a thin sunken border. With AutoSize the label keeps the size of its
// caption, so Width and Height measure a text.
class Label : public Control {
public:
    Label(Form* owner, QString name, int index = -1);
    QWidget* widget() const override;

    QString Caption() const { return caption_; }
    void setCaption(const QString& caption);
    int Alignment() const { return alignment_; }
    void setAlignment(int alignment);
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool autoSize);
    bool WordWrap() const { return wordWrap_; }
    void setWordWrap(bool wordWrap);
    int BackStyle() const { return backStyle_; }
    void setBackStyle(int backStyle);
    int BorderStyle() const { return borderStyle_; }
    void setBorderStyle(int borderStyle);

    int Width() const override;
    int Height() const override;

    Event<> Click;
    Event<> DblClick;

protected:
    void applyColours() override;
    void onClick() override { Click(); }
    void onDblClick() override { DblClick(); }

private:
    QPointer<QLabel> label_;
    QString caption_;
    int alignment_ = vbLeftJustify;
    bool autoSize_ = false;
    bool wordWrap_ = false;
    int backStyle_ = 1;
    int borderStyle_ = 0;
};

// The text a caption shows: "&x" marks an accelerator (the "&" is not shown), "&&" shows "&".
QString captionDisplayText(const QString& caption);
// Qt alignment flags of a classic alignment value (left for unknown values).
Qt::Alignment qtAlignment(int alignment);

} // namespace ui
