#pragma once
// A picture control: shows an image file, keeps its previous picture when a
// file cannot be loaded, and reports a click. Used on the GUI thread.

#include <QImage>
#include <QWidget>

#include <filesystem>
#include <functional>

namespace zeb2hart::ui {

class PictureBox final : public QWidget {
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // Loads the file; on failure the picture stays as it was and the result is false.
    bool load(const std::filesystem::path& file);
    bool hasPicture() const { return !m_picture.isNull(); }
    const QImage& picture() const { return m_picture; }
    // The file the picture came from; empty while there is none.
    const std::filesystem::path& source() const { return m_source; }
    // Resizes the control to its picture at each load.
    void setAutoSize(bool autoSize) { m_autoSize = autoSize; }

    std::function<void()> onClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage m_picture;
    std::filesystem::path m_source;
    bool m_autoSize = false;
};

} // namespace zeb2hart::ui
