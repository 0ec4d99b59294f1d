#pragma once

#include <QWidget>

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace orvix {

class LinePane;

// Tab 2: the characterisation folder and serial number, the eight steps of
// the factory procedure, the collection progress and the " Data " pane.
class CharacterizeTab : public QWidget {
    Q_OBJECT
public:
    static constexpr int kButtonCount = 8;

    explicit CharacterizeTab(QWidget* parent = nullptr);

    void SetButtonsEnabled(bool enable);  // every cbCharButton(i)

    QLineEdit* CharPathBox() const { return m_txtCharPath; }
    QLineEdit* SerialBox() const { return m_txtSN; }
    QProgressBar* ProgressBar() const { return m_progressBar1; }
    LinePane* DataPane() const { return m_lstData; }
    QGroupBox* DataFrame() const { return m_fraData; }
    QPushButton* Button(int index) const;  // cbCharButton(index), index 0 to 7

private:
    QGroupBox* m_fraCharFolder = nullptr;
    QLineEdit* m_txtCharPath = nullptr;
    QLabel* m_lblSN = nullptr;
    QLineEdit* m_txtSN = nullptr;
    std::array<QPushButton*, kButtonCount> m_cbCharButton{};
    QProgressBar* m_progressBar1 = nullptr;
    QGroupBox* m_fraData = nullptr;
    LinePane* m_lstData = nullptr;
};

}  // namespace orvix
