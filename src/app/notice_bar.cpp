// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/notice_bar.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QStyle>
#include <QToolButton>

namespace {

// The label shows as much of the notice as fits, cut in the middle (the end of a path tells
// folders apart); its tooltip and its name for screen readers are the whole text. A long path
// never widens the window.
class ElidedLabel : public QLabel
{
public:
    using QLabel::QLabel;
    void setFullText(const QString& text)
    {
        m_full = text;
        setToolTip(text);
        setAccessibleName(text);
        fit();
    }
    const QString& fullText() const { return m_full; }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QLabel::resizeEvent(event);
        fit();
    }

private:
    void fit() { setText(fontMetrics().elidedText(m_full, Qt::ElideMiddle, width())); }
    QString m_full;
};

} // namespace

NoticeBar::NoticeBar(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("NoticeBar"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    // A warning's tint over the window's own colour, as desktops show such bars.
    setAutoFillBackground(true);
    QPalette tinted = palette();
    const QColor window = tinted.color(QPalette::Window);
    const QColor warning(0xf6, 0x74, 0x00);
    tinted.setColor(QPalette::Window, QColor((window.red() * 4 + warning.red()) / 5,
                                             (window.green() * 4 + warning.green()) / 5,
                                             (window.blue() * 4 + warning.blue()) / 5));
    setPalette(tinted);

    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(16, 16));
    auto* text = new ElidedLabel(this);
    text->setObjectName(QStringLiteral("NoticeText"));
    text->setTextFormat(Qt::PlainText);
    text->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_text = text;
    m_showErrors = new QPushButton(tr("Show &Errors"), this);
    m_showErrors->setObjectName(QStringLiteral("NoticeShowErrors"));
    m_showErrors->setAutoDefault(false);
    // The underlined letter, also where the platform makes no keys of underlined letters.
    m_showErrors->setShortcut(QKeySequence(QStringLiteral("Alt+E")));
    m_close = new QToolButton(this);
    m_close->setObjectName(QStringLiteral("NoticeClose"));
    m_close->setIcon(QIcon::fromTheme(QStringLiteral("window-close"),
                                      style()->standardIcon(QStyle::SP_TitleBarCloseButton)));
    m_close->setToolTip(tr("Close"));
    m_close->setAccessibleName(tr("Close"));
    m_close->setAutoRaise(true);
    m_close->setFocusPolicy(Qt::TabFocus);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 2, 2, 2);
    row->addWidget(icon);
    row->addWidget(m_text, 1);
    row->addWidget(m_showErrors);
    row->addWidget(m_close);
    connect(m_showErrors, &QPushButton::clicked, this, &NoticeBar::showErrorsClicked);
    connect(m_close, &QToolButton::clicked, this, &NoticeBar::closeClicked);
    hide();
}

void NoticeBar::setNotices(const QString& first, int count)
{
    m_count = count;
    const QString text =
        count > 1 ? QStringLiteral("%1 (and %2 more)").arg(first).arg(count - 1) : first;
    static_cast<ElidedLabel*>(m_text)->setFullText(text);
    m_showErrors->setAccessibleDescription(text);
    setVisible(count > 0 && !m_closed);
}

void NoticeBar::reopen()
{
    m_closed = false;
    setVisible(m_count > 0);
}

QString NoticeBar::text() const
{
    return static_cast<const ElidedLabel*>(m_text)->fullText();
}

void NoticeBar::closeClicked()
{
    m_closed = true;
    hide();
}
