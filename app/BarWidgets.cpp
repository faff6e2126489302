#include "app/BarWidgets.h"

#include "app/FontCheck.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QLayout>
#include <QMainWindow>
#include <QPainter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

namespace zor {

QString ShortHint(const QString &hint)
{
    return QString::fromStdString(std::string(GetShortHint(hint.toStdString())));
}

QString LongHint(const QString &hint)
{
    return QString::fromStdString(std::string(GetLongHint(hint.toStdString())));
}

TToolGap::TToolGap(int width, QWidget *parent) : QWidget(parent)
{
    setFixedWidth(width);
}

void TToolGap::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int x = width() / 2;
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(x, 4, x, height() - 5);
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(x + 1, 4, x + 1, height() - 5);
}

TStatusPanel::TStatusPanel(int width, QWidget *parent) : QLabel(parent), Width(width)
{
    setMaximumWidth(width);
}

QSize TStatusPanel::sizeHint() const
{
    return {Width, QLabel::sizeHint().height()};
}

QSize TStatusPanel::minimumSizeHint() const
{
    return {0, QLabel::minimumSizeHint().height()};
}

QPixmap SymbolImage(const TCommandButton &button)
{
    QPixmap image(QStringLiteral(":/symbols/%1.png")
                      .arg(QLatin1String(button.Name.data(), qsizetype(button.Name.size()))));
    if (!image.isNull() && image.size() == QSize(24, 16))
        return image;
    image = QPixmap(24, 16);
    image.fill(Qt::transparent);
    QPainter p(&image);
    const std::uint32_t c = button.Colour();
    p.setPen(QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
    QFont font{QString::fromLatin1(SymbolFontFace)};
    font.setPixelSize(15);
    p.setFont(font);
    p.drawText(image.rect(), Qt::AlignCenter, QString(QChar(button.Symbol)));
    return image;
}

QToolBar *AddFixedToolBar(QMainWindow &window, const char *name, int height)
{
    QToolBar *bar = window.addToolBar(QLatin1String(name));
    bar->setObjectName(QLatin1String(name));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setFixedHeight(height);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->layout()->setSpacing(0);
    bar->layout()->setContentsMargins(0, 0, 0, 0);
    return bar;
}

QToolButton *AddBarButton(QToolBar &bar, const QString &name, const QIcon &icon, QSize size,
                          QSize iconSize, const QString &hint)
{
    auto *button = new QToolButton(&bar);
    button->setObjectName(name);
    button->setAutoRaise(true);
    button->setFixedSize(size);
    button->setIcon(icon);
    button->setIconSize(iconSize);
    button->setToolTip(ShortHint(hint));
    button->setStatusTip(LongHint(hint));
    button->setAccessibleName(ShortHint(hint));
    bar.addWidget(button);
    return button;
}

QToolButton *AddActionButton(QToolBar &bar, QAction *action, const char *name, QSize size)
{
    bar.addAction(action);
    auto *button = qobject_cast<QToolButton *>(bar.widgetForAction(action));
    button->setObjectName(QLatin1String(name));
    button->setFixedSize(size);
    button->setAccessibleName(action->toolTip());
    // Reachable by Tab like the command buttons beside it, not only by the pointer.
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

std::array<QLabel *, 3> AddStatusPanels(QStatusBar &bar, const std::array<int, 3> &widths)
{
    std::array<QLabel *, 3> panels{};
    for (std::size_t i = 0; i < panels.size(); ++i) {
        QLabel *panel = i == 0 ? new TStatusPanel(widths[i], &bar) : new QLabel(&bar);
        panel->setObjectName(QStringLiteral("Panel%1").arg(i));
        if (i != 0)
            panel->setFixedWidth(widths[i]);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setFont(QApplication::font());
        bar.addWidget(panel);
        panels[i] = panel;
    }
    return panels;
}

std::array<QToolButton *, CommandButtonCount>
AddCommandButtons(QToolBar &first, QToolBar &second, const std::vector<QPixmap> &images, QSize size,
                  const std::function<void(int)> &click)
{
    std::array<QToolButton *, CommandButtonCount> buttons{};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const TCommandButton &b = CommandButtons[i];
        QToolButton *button = AddBarButton(
            i < ButtonsPerToolBar ? first : second,
            QLatin1String(b.Name.data(), qsizetype(b.Name.size())), images[i], size, QSize(24, 16),
            QCoreApplication::translate("Vocabulary", std::string(b.Hint).c_str()));
        button->setEnabled(false);
        QObject::connect(button, &QToolButton::clicked, button, [click, i] { click(int(i)); });
        buttons[i] = button;
    }
    return buttons;
}

bool CommandButtonAllowed(const QToolButton &button, bool allCommands)
{
    const std::string name = button.objectName().toStdString();
    return allCommands || std::find(NeverEnabledButtons.begin(), NeverEnabledButtons.end(), name) ==
                              NeverEnabledButtons.end();
}

} // namespace zor
