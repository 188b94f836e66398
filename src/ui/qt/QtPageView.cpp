#include "ui/qt/QtPageView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVariant>

#include "support/Conversions.h"
#include "ui/qt/DelayBox.h"
#include "ui/qt/HeadlineWidget.h"
#include "ui/qt/MonitorView.h"
#include "ui/qt/PageStyle.h"
#include "ui/qt/PictureBox.h"

namespace zeb2hart::ui {

namespace {

using pages::ControlKind;

// The page widget: reports its resizes.
class PageWidget final : public QWidget {
public:
    std::function<void()> onResize;

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        if (onResize)
            onResize();
    }
};

QFont styledFont(const pages::ControlStyle& style)
{
    QFont font = pageFont(style.bold);
    font.setPointSizeF(style.pointSize);
    return font;
}

void setTextColor(QWidget& widget, std::uint32_t bgr)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, windowsColor(bgr));
    widget.setPalette(palette);
}

} // namespace

QtPageView::QtPageView(const pages::PageTable& table) : m_table(table)
{
    auto* page = new PageWidget;
    page->setObjectName(QString::fromLatin1(table.controlName.data(), static_cast<int>(table.controlName.size())));
    setBackground(*page, support::kPageBlue);
    page->setFont(pageFont());
    m_page = page;
    m_controls.reserve(table.controls.size());
    for (std::size_t row = 0; row < table.controls.size(); ++row) {
        const int container = table.controls[row].container;
        m_controls.emplace_back(makeControl(static_cast<int>(row), container < 0 ? page : control(container)));
    }
    page->resize(640, 480);
    page->onResize = [this] {
        if (m_events)
            m_events->resized();
    };
}

QtPageView::~QtPageView()
{
    delete m_page.data();
}

QWidget* QtPageView::makeControl(int row, QWidget* container)
{
    const pages::ControlInfo& info = m_table.controls[static_cast<std::size_t>(row)];
    const pages::ControlStyle& style = info.style;
    QWidget* widget = nullptr;
    switch (info.kind) {
    case ControlKind::Headline: {
        auto* headline = new HeadlineWidget(container);
        headline->onLogoClick = [this, row] {
            if (m_events)
                m_events->clicked(row);
        };
        widget = headline;
        break;
    }
    case ControlKind::Panel:
        widget = new QWidget(container);
        setBackground(*widget, style.background);
        break;
    case ControlKind::Label: {
        auto* label = new QLabel(container);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(style.wordWrap);
        if (style.bold || style.pointSize != pages::ControlStyle{}.pointSize)
            label->setFont(styledFont(style));
        if (style.textColor != 0)
            setTextColor(*label, style.textColor);
        widget = label;
        break;
    }
    case ControlKind::CheckBox: {
        auto* box = new QCheckBox(container);
        box->setFont(pageFont());
        setBackground(*box, style.background);
        // A click by the user, not a state the page sets.
        QObject::connect(box, &QCheckBox::clicked, box, [this, row] {
            if (m_events)
                m_events->clicked(row);
        });
        widget = box;
        break;
    }
    case ControlKind::Button: {
        auto* button = new QPushButton(container);
        QObject::connect(button, &QPushButton::clicked, button, [this, row] {
            if (m_events)
                m_events->clicked(row);
        });
        widget = button;
        break;
    }
    case ControlKind::ComboBox: {
        auto* combo = new QComboBox(container);
        combo->setEditable(false);
        // The user's choice from the list, also when it is the entry already selected.
        QObject::connect(combo, &QComboBox::activated, combo, [this, row](int position) {
            if (m_events)
                m_events->chosen(row, position);
        });
        widget = combo;
        break;
    }
    case ControlKind::DelayBox: {
        auto* box = new DelayBox(container);
        QObject::connect(box, &QLineEdit::textEdited, box, [this, row] {
            if (m_events)
                m_events->edited(row);
        });
        box->onKeyReleased = [this, row] {
            if (m_events)
                m_events->keyReleased(row);
        };
        widget = box;
        break;
    }
    case ControlKind::Picture:
        widget = new PictureBox(container);
        break;
    case ControlKind::Monitor:
        widget = new MonitorView(container);
        widget->setFont(monitorFont());
        break;
    case ControlKind::Line: {
        auto* line = new QFrame(container);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Plain);
        setTextColor(*line, style.textColor);
        widget = line;
        break;
    }
    }
    widget->setObjectName(QString::fromLatin1(info.name.data(), static_cast<int>(info.name.size())));
    if (info.index)
        widget->setProperty(kControlIndexProperty, *info.index);
    return widget;
}

QWidget* QtPageView::control(int row) const
{
    if (row < 0 || static_cast<std::size_t>(row) >= m_controls.size())
        return nullptr;
    return m_controls[static_cast<std::size_t>(row)].data();
}

pages::TwipSize QtPageView::pageSize() const
{
    return m_page ? twipSize(*m_page) : pages::TwipSize{};
}

void QtPageView::place(int row, const pages::TwipRect& rect)
{
    if (QWidget* widget = control(row))
        ui::place(*widget, rect);
}

void QtPageView::setText(int row, const std::string& text)
{
    const QString shown = QString::fromStdString(text);
    if (auto* label = as<QLabel>(row))
        label->setText(shown);
    else if (auto* button = as<QAbstractButton>(row))
        button->setText(shown);
    else if (auto* box = as<QLineEdit>(row))
        box->setText(shown);
    else if (auto* headline = dynamic_cast<HeadlineWidget*>(control(row)))
        headline->setTitle(shown);
}

std::string QtPageView::text(int row) const
{
    if (const auto* label = as<QLabel>(row))
        return label->text().toStdString();
    if (const auto* button = as<QAbstractButton>(row))
        return button->text().toStdString();
    if (const auto* box = as<QLineEdit>(row))
        return box->text().toStdString();
    if (const auto* combo = as<QComboBox>(row))
        return combo->currentText().toStdString();
    if (const auto* headline = dynamic_cast<HeadlineWidget*>(control(row)))
        return headline->title().toStdString();
    return {};
}

void QtPageView::setChecked(int row, bool checked)
{
    if (auto* box = as<QCheckBox>(row))
        box->setChecked(checked);
}

bool QtPageView::checked(int row) const
{
    const auto* box = as<QCheckBox>(row);
    return box && box->isChecked();
}

void QtPageView::setItems(int row, const std::vector<std::string>& items)
{
    auto* combo = as<QComboBox>(row);
    if (!combo)
        return;
    combo->clear();
    for (const std::string& item : items)
        combo->addItem(QString::fromStdString(item));
    combo->setCurrentIndex(-1);
}

void QtPageView::select(int row, int position)
{
    if (auto* combo = as<QComboBox>(row))
        combo->setCurrentIndex(position);
}

std::string QtPageView::itemText(int row, int position) const
{
    const auto* combo = as<QComboBox>(row);
    return combo ? combo->itemText(position).toStdString() : std::string();
}

bool QtPageView::setPicture(int row, const std::filesystem::path& file)
{
    auto* picture = as<PictureBox>(row);
    return picture && picture->load(file);
}

void QtPageView::appendLine(int row, const std::string& text, std::uint32_t bgr)
{
    if (auto* view = as<MonitorView>(row))
        view->appendLine(QString::fromStdString(text), windowsColor(bgr));
}

void QtPageView::clearLines(int row)
{
    if (auto* view = as<MonitorView>(row))
        view->clear();
}

std::string QtPageView::linesText(int row) const
{
    const auto* view = as<MonitorView>(row);
    return view ? view->toPlainText().toStdString() : std::string();
}

std::shared_ptr<pages::Page> makeQtPage(pages::PageKind kind)
{
    return pages::makePage(kind, std::make_unique<QtPageView>(pages::pageTable(kind)));
}

QWidget* pageWidget(const fdt::ObjectPtr& page)
{
    const auto logic = pages::pageOf(page);
    const auto* view = logic ? dynamic_cast<const QtPageView*>(&logic->view()) : nullptr;
    return view ? view->widget() : nullptr;
}

} // namespace zeb2hart::ui
