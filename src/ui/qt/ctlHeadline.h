#pragma once
// ctlHeadline: the white strip on top of every page. It shows the title its
// page gives it at the left and the vendor's logo at the right end; a click on
// the logo opens the vendor's web address through the shell service.

#include <QString>
#include <QWidget>

#include "fdt/Variant.h"
#include "ui/qt/PictureBox.h"

namespace zeb2hart::ui {

class ctlHeadline final : public QWidget {
public:
    explicit ctlHeadline(QWidget* parent = nullptr);

    // The title: a text is shown, any other value shows none.
    void Title(const fdt::Variant& title);
    const QString& title() const { return m_title; }

    PictureBox& imgLogo() { return *m_imgLogo; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void placeLogo();
    void imgLogo_Click();

    PictureBox* m_imgLogo;
    QString m_title;
};

} // namespace zeb2hart::ui
