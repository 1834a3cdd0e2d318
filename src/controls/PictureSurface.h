#pragma once
// A picture box: shows one image at its natural size at the top left, the rest in the box's
// background colour. The image is also what the host reads pixels from.
#include <QImage>
#include <QWidget>

namespace kestrin {

class PictureSurface : public QWidget {
public:
    explicit PictureSurface(QWidget *parent = nullptr);

    // The image shown at the top left; a null image shows only the background.
    void setSurface(const QImage &image);
    const QImage &surface() const { return m_surface; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_surface;
};

} // namespace kestrin
