#pragma once

#include "platform/ui/control.h"

#include <QImage>
#include <QPixmap>
#include <QPointer>

class QLabel;

namespace ui {

class PictureSurface;

// Classic alignment of picture boxes at the edges of their form (the MDI frame places aligned ones).
enum AlignValue : int {
    vbAlignNone = 0,
    vbAlignTop = 1,
    vbAlignBottom = 2,
    vbAlignLeft = 3,
    vbAlignRight = 4
};
// Classic fill styles (shapes and picture boxes).
enum FillStyleValue : int { vbFSSolid = 0, vbFSTransparent = 1 };

// The colour argument of the drawing methods that stands for the control's ForeColor.
constexpr uint32_t kForeColour = 0xFFFFFFFF;

// Classic picture box: a container for other controls (container()) and a drawing surface in pixels.
//
// Drawing goes into a persistent off-screen image that is shown over the BackColor and the Picture; Cls
// clears it. With AutoRedraw false the Paint event fires before each repaint, so a handler redraws there;
// with AutoRedraw true Paint never fires and the drawing simply stays. Resize fires when the size changes.
class PictureBox : public Control {
public:
    PictureBox(Form* owner, QString name, int index = -1);
    QWidget* widget() const override;
    QWidget* container() const { return widget(); }

    int Align() const { return align_; }
    void setAlign(int align);
    bool AutoRedraw() const { return autoRedraw_; }
    void setAutoRedraw(bool autoRedraw);
    int BorderStyle() const { return borderStyle_; }
    void setBorderStyle(int borderStyle);
    QPixmap Picture() const { return picture_; }
    void setPicture(const QPixmap& picture);

    // Size of the drawing area in pixels.
    int ScaleWidth() const;
    int ScaleHeight() const;
    double CurrentX() const { return currentX_; }
    void setCurrentX(double x) { currentX_ = x; }
    double CurrentY() const { return currentY_; }
    void setCurrentY(double y) { currentY_ = y; }
    int DrawWidth() const { return drawWidth_; }
    void setDrawWidth(int width) { drawWidth_ = std::max(1, width); }
    uint32_t FillColor() const { return fillColor_; }
    void setFillColor(uint32_t colour) { fillColor_ = colour; }
    int FillStyle() const { return fillStyle_; }
    void setFillStyle(int style) { fillStyle_ = style; }

    void Cls();
    void Line(double x1, double y1, double x2, double y2, uint32_t colour = kForeColour);
    // The classic "Line ..., B" (outline) and "Line ..., BF" (filled) forms.
    void Box(double x1, double y1, double x2, double y2, uint32_t colour = kForeColour, bool filled = false);
    void PSet(double x, double y, uint32_t colour = kForeColour);
    void Circle(double x, double y, double radius, uint32_t colour = kForeColour);
    // Writes the text at CurrentX/CurrentY in ForeColor and the control's font; then CurrentX returns to 0
    // and CurrentY moves down one line.
    void Print(const QString& text);
    void PaintPicture(const QPixmap& picture, double x, double y, double width = -1, double height = -1);
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;

    // The drawing surface itself, for drawing with a QPainter; call surfaceChanged() afterwards.
    QImage& surface() { return surface_; }
    void surfaceChanged();

    Event<> Paint;
    Event<> Resize;
    Event<> Click;
    Event<> DblClick;

protected:
    void onClick() override { Click(); }
    void onDblClick() override { DblClick(); }

private:
    friend class PictureSurface;
    void paintOn(QWidget& widget);
    void resized(const QSize& size);
    QColor colourOf(uint32_t colour) const;
    QPointer<PictureSurface> surfaceWidget_;
    QImage surface_;
    QPixmap picture_;
    int align_ = vbAlignNone;
    bool autoRedraw_ = false;
    int borderStyle_ = 1;
    double currentX_ = 0;
    double currentY_ = 0;
    int drawWidth_ = 1;
    uint32_t fillColor_ = 0;
    int fillStyle_ = vbFSTransparent;
    bool inPaint_ = false;
};

// Classic image: shows a Picture (a QPixmap, assignable from another image's Picture); with Stretch the
// picture fills the control, without it the control takes the picture's size.
class Image : public Control {
public:
    Image(Form* owner, QString name, int index = -1);
    QWidget* widget() const override;

    QPixmap Picture() const { return picture_; }
    void setPicture(const QPixmap& picture);
    bool Stretch() const { return stretch_; }
    void setStretch(bool stretch);

    Event<> Click;
    Event<> DblClick;

protected:
    void onClick() override { Click(); }
    void onDblClick() override { DblClick(); }

private:
    QPointer<QLabel> label_;
    QPixmap picture_;
    bool stretch_ = false;
};

} // namespace ui
