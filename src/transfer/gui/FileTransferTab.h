#pragma once

#include <QWidget>

#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace orvix {

class TextPane;

// Tab 1: a column of transfer buttons beside the "File View" pane.
class FileTransferTab : public QWidget {
    Q_OBJECT
public:
    static constexpr int kButtonCount = 8;

    explicit FileTransferTab(QWidget* parent = nullptr);

    void SetButtonsEnabled(bool enable);     // every cbFTButton(i)
    void SetIndexListsEnabled(bool enable);  // both index lists and their labels

    QComboBox* ProdIdxList() const { return m_cboProdIdx; }
    QComboBox* LangIdxList() const { return m_cboLangIdx; }
    TextPane* FileView() const { return m_utxtFileView; }
    QGroupBox* FileViewFrame() const { return m_fraFileViewer; }
    QPushButton* Button(int index) const;  // cbFTButton(index), index 0 to 7

private:
    std::array<QPushButton*, kButtonCount> m_cbFTButton{};
    QGroupBox* m_fraProduct = nullptr;
    QLabel* m_lblProdIdx = nullptr;
    QComboBox* m_cboProdIdx = nullptr;
    QLabel* m_lblLangIdx = nullptr;
    QComboBox* m_cboLangIdx = nullptr;
    QGroupBox* m_fraFileViewer = nullptr;
    TextPane* m_utxtFileView = nullptr;
};

}  // namespace orvix
