#pragma once

#include <QDialog>

class QLabel;

namespace orvix {

// The About window: product name, version, part number, company, copyright.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    // "Version 2.5.7" for major 2, minor 5, revision 7.
    static QString VersionLine(int major, int minor, int revision);
};

}  // namespace orvix
