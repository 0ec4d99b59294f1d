#include "app/gui/frmAbout.h"

#include "app/AppVersion.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvix {

namespace {

QLabel* Line(QWidget* parent, QVBoxLayout* layout, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    layout->addWidget(label);
    return label;
}

}  // namespace

QString frmAbout::VersionLine(int major, int minor, int revision) {
    return QStringLiteral("Version %1.%2.%3").arg(major).arg(minor).arg(revision);
}

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    auto* layout = new QVBoxLayout(this);
    QLabel* name = Line(this, layout, "lblLine1", QString::fromUtf8(version::kProductName));
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    Line(this, layout, "lblLine2", VersionLine(version::kMajor, version::kMinor, version::kRevision));
    Line(this, layout, "lblLine3", QString::fromUtf8(version::kDescription));
    Line(this, layout, "lblLine4", QString::fromUtf8(version::kCompany));
    Line(this, layout, "lblLine5", QString::fromUtf8(version::kCopyright));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

}  // namespace orvix
