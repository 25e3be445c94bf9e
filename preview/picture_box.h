#pragma once

#include <QImage>
#include <QWidget>

class QMouseEvent;

namespace tallowby::preview {

// A picture box measured in twips. It shows an assigned picture at its own
// size and, over it, a persistent drawing surface that keeps what is drawn on
// it. The twip position and size are kept exactly; the widget follows them to
// the nearest pixel.
class PictureBox : public QWidget {
    Q_OBJECT
  public:
    explicit PictureBox(QWidget* parent = nullptr);

    // Assigns a picture; with auto-size on the box takes the picture's size.
    void setPicture(const QImage& picture);
    // Removes the picture and everything drawn: only the background remains.
    void clearPicture();
    const QImage& picture() const { return picture_; }

    void setAutoSize(bool on) { autoSize_ = on; }
    bool autoSize() const { return autoSize_; }
    void setBackground(const QColor& colour);

    float leftTwips() const { return left_; }
    float topTwips() const { return top_; }
    int widthTwips() const { return width_; }
    int heightTwips() const { return height_; }

    void setLeftTwips(float left);
    void setTopTwips(float top);
    void setWidthTwips(int width);
    void setHeightTwips(int height);
    // Moves left and top together: one repaint.
    void moveTwips(float left, float top);

    // Draws the region `source` (twips of `picture`, measured as if the picture
    // were shown at its own size) stretched into `target` (twips of this box).
    void drawStretched(const QRectF& target, const QImage& picture, const QRectF& source);

    // The drawing surface as shown, for checks and screenshots. It has the
    // box's size in logical pixels and the screen's device pixel ratio.
    QImage surface() const { return surface_; }

  signals:
    // Button state and the pointer position in twips from the box's corner.
    void mousePressed(Qt::MouseButtons buttons, float x, float y);
    void mouseMoved(Qt::MouseButtons buttons, float x, float y);
    void mouseReleased(Qt::MouseButtons buttons, float x, float y);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void applyGeometry();
    void fitSurface();
    double surfaceRatio() const;

    QImage picture_;
    QImage surface_;
    QColor background_ = Qt::white;
    bool autoSize_ = true;
    float left_ = 0;
    float top_ = 0;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace tallowby::preview
