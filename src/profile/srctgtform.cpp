// SPDX-License-Identifier: GPL-3.0-or-later
#include "profile/srctgtform.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The design name as object name; a screen reader announces a button by its caption and a
// text box by its label.
template <typename W> W* named(W* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

QLabel* fieldLabel(const QString& text, QLineEdit* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

QLabel* instruction(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name); // screen readers read its text
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

SrcTgtForm::SrcTgtForm(AppState& state, const Callbacks& cb, QWidget* parent)
    : QDialog(parent), m_state(state), m_cb(cb)
{
    setObjectName(QStringLiteral("SrcTgtForm"));
    setWindowTitle(tr("Source and Target Folders"));
    setModal(true);
    buildForm();
    // The starting values, in the order the dialog has always taken them.
    ExcludeText->setText(m_state.entryBuffer.exclude);
    IncludeText->setText(m_state.entryBuffer.include);
    TargetText->setText(m_state.entryBuffer.target);
    SourceText->setText(m_state.entryBuffer.source);
    SourceText->setFocus();
}

void SrcTgtForm::buildForm()
{
    SourceText = named(new QLineEdit(this), QStringLiteral("SourceText"));
    TargetText = named(new QLineEdit(this), QStringLiteral("TargetText"));
    IncludeText = named(new QLineEdit(this), QStringLiteral("IncludeText"));
    ExcludeText = named(new QLineEdit(this), QStringLiteral("ExcludeText"));
    OKCmd = named(new QPushButton(tr("OK"), this), QStringLiteral("OKCmd"));
    Cancelcmd = named(new QPushButton(tr("Cancel"), this), QStringLiteral("Cancelcmd"));
    const QString browse = tr("Browse");
    const QString reset = tr("Default");
    SourceBrowse = named(new QPushButton(browse, this), QStringLiteral("SourceBrowse"));
    TargetBrowse = named(new QPushButton(browse, this), QStringLiteral("TargetBrowse"));
    IncludeDefault = named(new QPushButton(reset, this), QStringLiteral("IncludeDefault"));
    ExcludeDefault = named(new QPushButton(reset, this), QStringLiteral("ExcludeDefault"));
    for (QLineEdit* text : {SourceText, TargetText, IncludeText, ExcludeText})
        text->setMinimumWidth(340);
    // Two buttons share each caption: a screen reader tells them apart by what they act on.
    SourceBrowse->setAccessibleDescription(tr("Pick the Source folder"));
    TargetBrowse->setAccessibleDescription(tr("Pick the Target folder"));
    IncludeDefault->setAccessibleDescription(tr("Include every extension"));
    ExcludeDefault->setAccessibleDescription(tr("Exclude no extension"));
    OKCmd->setDefault(true);

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(8);
    fields->setColumnStretch(1, 1);
    fields->addWidget(instruction(QStringLiteral("FoldersHint"),
                                  tr("Type Source and Target Folders or Browse to get them"), this),
                      0, 0, 1, 3);
    fields->addWidget(fieldLabel(tr("Source"), SourceText, this), 1, 0);
    fields->addWidget(SourceText, 1, 1);
    fields->addWidget(SourceBrowse, 1, 2);
    fields->addWidget(fieldLabel(tr("Target"), TargetText, this), 2, 0);
    fields->addWidget(TargetText, 2, 1);
    fields->addWidget(TargetBrowse, 2, 2);
    fields->setRowMinimumHeight(3, 10);
    fields->addWidget(instruction(QStringLiteral("ExtensionsHint"),
                                  tr("Type Included and Excludes extentions seperated "
                                     "by comma eg.:  doc,xls,ppt"),
                                  this),
                      4, 0, 1, 3);
    fields->addWidget(fieldLabel(tr("Include"), IncludeText, this), 5, 0);
    fields->addWidget(IncludeText, 5, 1);
    fields->addWidget(IncludeDefault, 5, 2);
    fields->addWidget(fieldLabel(tr("Exclude"), ExcludeText, this), 6, 0);
    fields->addWidget(ExcludeText, 6, 1);
    fields->addWidget(ExcludeDefault, 6, 2);

    auto* commands = new QVBoxLayout;
    commands->addWidget(OKCmd);
    commands->addWidget(Cancelcmd);
    commands->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->setSpacing(16);
    layout->addLayout(fields, 1);
    layout->addLayout(commands);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    // Wider folder boxes are useful, a taller dialog is not.
    setMaximumHeight(sizeHint().height());

    // Tab order: the four texts, OK, Cancel, then the buttons beside the texts.
    QWidget* order[] = {SourceText, TargetText,   IncludeText,  ExcludeText,    OKCmd,
                        Cancelcmd,  SourceBrowse, TargetBrowse, IncludeDefault, ExcludeDefault};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(OKCmd, &QPushButton::clicked, this, &SrcTgtForm::OKCmd_Click);
    connect(Cancelcmd, &QPushButton::clicked, this, &SrcTgtForm::Cancelcmd_Click);
    connect(SourceBrowse, &QPushButton::clicked, this, &SrcTgtForm::SourceBrowse_Click);
    connect(TargetBrowse, &QPushButton::clicked, this, &SrcTgtForm::TargetBrowse_Click);
    connect(IncludeDefault, &QPushButton::clicked, this, &SrcTgtForm::IncludeDefault_Click);
    connect(ExcludeDefault, &QPushButton::clicked, this, &SrcTgtForm::ExcludeDefault_Click);
}

void SrcTgtForm::OKCmd_Click()
{
    // "*" alone would exclude every file; "*,doc" or " *" are the user's own business.
    if (ExcludeText->text() == QLatin1String("*")) {
        if (m_cb.showMessage)
            m_cb.showMessage(tr("Error in Excluded Extentions"));
        return;
    }
    EntryBuffer& buffer = m_state.entryBuffer;
    buffer.exclude = ExcludeText->text();
    buffer.include = IncludeText->text();
    buffer.target = TargetText->text();
    buffer.source = SourceText->text();
    m_state.ProfileChanged = true;
    accept();
}

void SrcTgtForm::Cancelcmd_Click()
{
    reject();
}

void SrcTgtForm::SourceBrowse_Click()
{
    browseInto(SourceText);
}

void SrcTgtForm::TargetBrowse_Click()
{
    browseInto(TargetText);
}

void SrcTgtForm::IncludeDefault_Click()
{
    IncludeText->setText(QStringLiteral("*"));
}

void SrcTgtForm::ExcludeDefault_Click()
{
    ExcludeText->clear();
}

void SrcTgtForm::browseInto(QLineEdit* text)
{
    if (!m_cb.pickFolder)
        return;
    const QString chosen = m_cb.pickFolder(browseStart(text->text()));
    if (!chosen.isEmpty()) // cancelled: the text stays
        text->setText(chosen);
}

QString SrcTgtForm::browseStart(const QString& typed)
{
    QString folder = typed.trimmed();
    if (folder.isEmpty())
        return {};
    folder = QDir::cleanPath(QDir::current().absoluteFilePath(folder));
    while (!QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            return {};
        folder = parent;
    }
    return folder;
}
