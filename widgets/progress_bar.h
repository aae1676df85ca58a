#pragma once

#include "widgets/mem_dc.h"
#include "widgets/progress_geometry.h"

#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <memory>

class QPaintDevice;
class QPainter;
class QWidget;

namespace ui {
class PictureBox;
}

// The colour value that stands for "not set": fills with it use the bar's own defaults (button face for
// the background, the selection highlight for the bar).
constexpr uint32_t kDefaultBarColour = 0xFFFFFFFF;

// An owner-drawn progress bar. It draws either through the Qt style's progress-bar elements (XpStyle) or
// in a classic look of its own: flat or 3-D border, solid or picture background and bar, optional
// segments, and a caption that changes colour where the bar covers it.
//
// Every drawing goes to an off-screen surface first and is copied to the target in one step. The bar
// draws on a host (DrawObject): a ui::PictureBox (into its drawing surface) or any QWidget (shown over
// the widget's own painting). The host is repainted at once, without returning to the event loop, so a
// long transfer that never lets events run still shows every step. Without a host the bar only keeps its
// state; a host that goes away is dropped.
//
// Every property write stores the value and redraws at once, except Tag.
class cProgressBar {
public:
    cProgressBar();
    ~cProgressBar();
    cProgressBar(const cProgressBar&) = delete;
    cProgressBar& operator=(const cProgressBar&) = delete;

    QString Tag() const { return tag_; }
    void setTag(const QString& tag) { tag_ = tag; }
    bool Segments() const { return segments_; }
    void setSegments(bool segments);
    bool XpStyle() const { return xpStyle_; }
    void setXpStyle(bool xpStyle);
    QString Text() const { return text_; }
    void setText(const QString& text);
    // 0 left, 1 centre, 2 right.
    int TextAlignX() const { return textAlignX_; }
    void setTextAlignX(int align);
    // 0 top, 1 centre, 2 bottom.
    int TextAlignY() const { return textAlignY_; }
    void setTextAlignY(int align);
    bool ShowText() const { return showText_; }
    void setShowText(bool show);
    // 0 to 100; 0 when Max equals Min.
    double Percent() const;
    int32_t Min() const { return min_; }
    void setMin(int32_t min);
    int32_t Max() const { return max_; }
    void setMax(int32_t max);
    // Stored as given (not clamped); the drawing clamps.
    int32_t Value() const { return value_; }
    void setValue(int32_t value);
    // 0 none, 1 sunken, 2 raised.
    int BorderStyle() const { return borderStyle_; }
    void setBorderStyle(int style);
    // 0 flat, 1 thin 3-D, 2 full 3-D.
    int Appearance() const { return appearance_; }
    void setAppearance(int appearance);

    // The host drawn on by Draw: a picture box, or any widget. nullptr detaches.
    ui::PictureBox* DrawObject() const;
    void setDrawObject(ui::PictureBox* box);
    void setDrawObject(QWidget* widget);
    // The widget drawn on now (the picture box's widget or the plain widget); nullptr without a host.
    QWidget* drawWidget() const;

    // Draws on the host and shows it at once; nothing without a host.
    void Draw();
    // Draws into the rectangle (left, top)-(right, bottom) of `target`, which must be paintable now (an
    // image, a pixmap, a printer). `window` supplies the style and palette (nullptr: the application's).
    void DrawToDC(QWidget* window, QPaintDevice* target, int left, int top, int right, int bottom);

    // Colours: 0x00BBGGRR, or a system colour with the top bit set (index = value AND 31).
    uint32_t BackColor() const { return backColor_; }
    void setBackColor(uint32_t colour);
    uint32_t ForeColor() const { return foreColor_; }
    void setForeColor(uint32_t colour);
    uint32_t BarColor() const { return barColor_; }
    void setBarColor(uint32_t colour);
    uint32_t BarForeColor() const { return barForeColor_; }
    void setBarForeColor(uint32_t colour);
    QFont Font() const { return font_; }
    void setFont(const QFont& font);

    // Pictures (a null pixmap removes one). Modes: 1 tile, anything else stretch.
    void setBarPicture(const QPixmap& picture);
    int BarPictureMode() const { return barPictureMode_; }
    void setBarPictureMode(int mode);
    void setPicture(const QPixmap& picture);
    int BackPictureMode() const { return backPictureMode_; }
    void setBackPictureMode(int mode);

private:
    class HostWatcher;
    struct Frame;

    void paintFrame(QPainter& painter, QWidget* window, const PixelRect& outer, bool horizontal);
    void paintBackground(QPainter& painter, QWidget* window, Frame& frame);
    void paintCaption(QPainter& painter, const PixelRect& area, uint32_t colour);
    void paintPicture(QPainter& painter, const pcMemDC& picture, int mode, int width, int height);
    void setPictureInto(const QPixmap& picture, std::unique_ptr<pcMemDC>& target);
    void attachHost(QWidget* widget, ui::PictureBox* box);
    void drawOnHost();

    QPointer<QWidget> hostWidget_;
    ui::PictureBox* hostBox_ = nullptr; // valid while hostWidget_ (its widget) lives
    QImage hostImage_;                  // what a plain widget host shows
    std::unique_ptr<HostWatcher> watcher_;

    pcMemDC memDC_;
    std::unique_ptr<pcMemDC> backPicture_;
    std::unique_ptr<pcMemDC> barPicture_;
    int appearance_ = 1;
    int borderStyle_ = 1;
    QFont font_;
    uint32_t backColor_ = kDefaultBarColour;
    uint32_t foreColor_ = 0x000000;
    uint32_t barColor_ = kDefaultBarColour;
    uint32_t barForeColor_ = 0xFFFFFF;
    int barPictureMode_ = 1;
    int backPictureMode_ = 1;
    int32_t min_ = 0;
    int32_t max_ = 100;
    int32_t value_ = 0;
    int textAlignX_ = 1;
    int textAlignY_ = 1;
    bool showText_ = false;
    QString text_;
    bool segments_ = false;
    bool xpStyle_ = false;
    QString tag_;
};
