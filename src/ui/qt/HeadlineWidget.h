#pragma once
// HeadlineWidget: the Qt view of a page's headline (ctlHeadline), the white
// strip on top of every page. It shows the title its page gives it at the left
// and the vendor's logo at the right end, and reports a click on the logo.
// Used on the GUI thread.

#include <QString>
#include <QWidget>

#include <functional>

#include "ui/qt/PictureBox.h"

namespace zeb2hart::ui {

class HeadlineWidget final : public QWidget {
public:
    explicit HeadlineWidget(QWidget* parent = nullptr);

    void setTitle(const QString& title);
    const QString& title() const { return m_title; }

    PictureBox& imgLogo() { return *m_imgLogo; }
    std::function<void()> onLogoClick;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void placeLogo();

    PictureBox* m_imgLogo;
    QString m_title;
};

} // namespace zeb2hart::ui
