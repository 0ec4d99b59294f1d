#pragma once

#include <QWidget>

#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace orvix {

class TextPane;

// Tab 3: the command list with Execute and Power Down, one area shared by the
// parameter controls of the chosen command, and the "Response" pane.
class TestCmdsTab : public QWidget {
    Q_OBJECT
public:
    explicit TestCmdsTab(QWidget* parent = nullptr);

    void SetConnected(bool enable);  // cbTestCmdExecute, cbTCPwrDwn, cboTestCmd

    // Start-up fills. No handler runs; the command list is left with no
    // command chosen, showing "Select Command".
    void FillTestCmdList();
    void FillCellDataChList();
    void FillMenuTextList();

    QComboBox* TestCmdList() const { return m_cboTestCmd; }
    QPushButton* ExecuteButton() const { return m_cbTestCmdExecute; }
    QPushButton* PowerDownButton() const { return m_cbTCPwrDwn; }

    QLabel* ProdIdxLabel() const { return m_lblTCProdIdx; }
    QComboBox* ProdIdxList() const { return m_cboTCProdIdx; }
    QLabel* LangIdxLabel() const { return m_lblTCLangIdx; }
    QComboBox* LangIdxList() const { return m_cboTCLangIdx; }

    QGroupBox* EdsFrame() const { return m_fraEDS; }
    QButtonGroup* EdsGroup() const { return m_optEDSGroup; }  // ids are the option indices
    QRadioButton* EdsOption(int index) const;                 // optEDS(index)

    QGroupBox* ErrCodeFrame() const { return m_fraErrCode; }
    QButtonGroup* ErrCodeGroup() const { return m_optErrCodeGroup; }
    QRadioButton* ErrCodeOption(int index) const;
    QLineEdit* ErrCodeBox() const { return m_txtErrCode; }

    QGroupBox* CkSumFrame() const { return m_fraCkSum; }
    QButtonGroup* CkSumGroup() const { return m_optCkSumGroup; }
    QRadioButton* CkSumOption(int index) const;

    QGroupBox* CellDataFrame() const { return m_fraCellData; }
    QListWidget* CellDataChList() const { return m_lstCellDataCh; }
    QCheckBox* LoopCheck() const { return m_chkLoop; }
    QPushButton* SelectAllButton() const { return m_cbSelectAll; }
    QPushButton* ClearAllButton() const { return m_cbClearAll; }
    QPushButton* HaltButton() const { return m_cbHalt; }

    QGroupBox* Text2DisplayFrame() const { return m_fraText2Display; }
    QComboBox* MenuTextList() const { return m_cboDispMenuText; }

    TextPane* ResponsePane() const { return m_utxtTestResponse; }
    QGroupBox* ResponseFrame() const { return m_fraTestResponse; }

private:
    QWidget* BuildCommandRow();
    QWidget* BuildParameterArea();
    QGroupBox* BuildCellDataFrame();

    QComboBox* m_cboTestCmd = nullptr;
    QPushButton* m_cbTestCmdExecute = nullptr;
    QPushButton* m_cbTCPwrDwn = nullptr;

    QLabel* m_lblTCProdIdx = nullptr;
    QComboBox* m_cboTCProdIdx = nullptr;
    QLabel* m_lblTCLangIdx = nullptr;
    QComboBox* m_cboTCLangIdx = nullptr;

    QGroupBox* m_fraEDS = nullptr;
    std::array<QRadioButton*, 3> m_optEDS{};
    QButtonGroup* m_optEDSGroup = nullptr;

    QGroupBox* m_fraErrCode = nullptr;
    std::array<QRadioButton*, 2> m_optErrCode{};
    QButtonGroup* m_optErrCodeGroup = nullptr;
    QLineEdit* m_txtErrCode = nullptr;

    QGroupBox* m_fraCkSum = nullptr;
    std::array<QRadioButton*, 2> m_optCkSum{};
    QButtonGroup* m_optCkSumGroup = nullptr;

    QGroupBox* m_fraCellData = nullptr;
    QListWidget* m_lstCellDataCh = nullptr;
    QCheckBox* m_chkLoop = nullptr;
    QPushButton* m_cbSelectAll = nullptr;
    QPushButton* m_cbClearAll = nullptr;
    QPushButton* m_cbHalt = nullptr;

    QGroupBox* m_fraText2Display = nullptr;
    QComboBox* m_cboDispMenuText = nullptr;

    QGroupBox* m_fraTestResponse = nullptr;
    TextPane* m_utxtTestResponse = nullptr;
};

}  // namespace orvix
