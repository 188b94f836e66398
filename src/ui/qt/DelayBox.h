#pragma once
// The warm-start delay's text box: lets only digits and Backspace through as
// typed characters (editing keys such as Delete and the arrows stay usable),
// offers no paste, and reports every key release. Used on the GUI thread.

#include <QLineEdit>

#include <functional>

namespace zeb2hart::ui {

class DelayBox final : public QLineEdit {
public:
    explicit DelayBox(QWidget* parent = nullptr);

    std::function<void()> onKeyReleased;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
};

} // namespace zeb2hart::ui
