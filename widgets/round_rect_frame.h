#pragma once

#include "platform/ui/control.h"

#include <QPointer>
#include <QRectF>
#include <cstdint>

// Where the two rounded rectangles of a RoundRectFrame go, in twips: the border fills the control; the
// inner area is inset by the thickness on the left, right and bottom and by an 18-pixel band at the top.
// A control too small for the insets gives the inner area a size of 0 (it is then not drawn).
struct RoundRectLayout {
    QRectF border;
    QRectF inner;
};
RoundRectLayout roundRectFrameLayout(double widthTwips, double heightTwips, double thicknessTwips,
                                     double twipsPerPixelY);

// A frame of two nested rounded rectangles: the outer one in BorderColor, the inner one in the button-face
// colour, so the frame shows a coloured ring with a wider strip along its top. It is a container: lay the
// framed controls out in container(); they sit inside the inner area.
//
// BorderThickness is in twips (default two pixels); the screen's twips per pixel are taken when the control
// is made. Neither property is saved anywhere: every frame starts with the defaults.
class RoundRectFrame : public ui::Control {
public:
    RoundRectFrame(ui::Form* owner, QString name, int index = -1);
    QWidget* widget() const override;
    QWidget* container() const { return widget(); }

    float BorderThickness() const { return borderThickness_; }
    // Stores the thickness and lays the inner area out again at once.
    void setBorderThickness(float twips);
    uint32_t BorderColor() const { return borderColor_; }
    // Changes the ring's colour; nothing moves.
    void setBorderColor(uint32_t colour);

    float TwipsPerPixelX() const { return twipsPerPixelX_; }
    float TwipsPerPixelY() const { return twipsPerPixelY_; }
    // The inner area in pixels of the control at its present size.
    QRect innerArea() const;

private:
    class Surface;
    friend class Surface;
    void layout();

    QPointer<Surface> surface_;
    float twipsPerPixelX_ = 15.0f;
    float twipsPerPixelY_ = 15.0f;
    float borderThickness_ = 30.0f;
    uint32_t borderColor_ = 0x808080;
};
