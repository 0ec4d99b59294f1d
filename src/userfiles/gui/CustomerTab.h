#pragma once

#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace orvix {

// Tab 0: the language and product selection on the left, one of the product
// editor, the language editor or an empty placeholder on the right.
class CustomerTab : public QWidget {
    Q_OBJECT
public:
    static constexpr int kConstantCount = 9;

    explicit CustomerTab(QWidget* parent = nullptr);

    // What the main window's start-up does to the tab: language buttons away,
    // the language frame shortened with the product frame moved up under it,
    // the advanced settings hidden.
    void ApplyStartupState();

    // The selection controls are only ever enabled by the list refresh, so a
    // change of connection state disables them either way.
    void SetConnected(bool enable);

    bool EditorShown() const;

    // 1 language editor, 2 product editor, 3 the empty frame, anything else
    // none of the three.
    void ShowUserFrame(int mode, bool connected);

    // Selection.
    QGroupBox* LanguageSelFrame() const { return m_fraUserLangSel; }
    QGroupBox* ProductSelFrame() const { return m_fraUserProdSel; }
    QComboBox* LanguageList() const { return m_cboUserLangList; }
    QComboBox* ProductList() const { return m_cboUserProdList; }
    QPushButton* LanguageButton(int index) const;  // cbUserLang(0) Get, (1) Delete
    QPushButton* ProductButton(int index) const;   // cbUserProd(0) Get, (1) Delete
    QPushButton* SendFileButton() const { return m_cbUserSendFile; }

    // Product editor.
    QGroupBox* ProductEditorFrame() const { return m_fraUserProd; }
    QLineEdit* NameBox() const { return m_txtUserName; }
    QLineEdit* IssueBox() const { return m_txtUserIssue; }
    QLineEdit* ConstantBox(int index) const;  // txtUserK(index): K(index + 1)
    QLineEdit* CheckSumBox() const { return m_txtUserKsCkSum; }
    QCheckBox* AdvancedCheck() const { return m_chkUserAdvanced; }
    QGroupBox* AdvancedFrame() const { return m_fraUserAdvanced; }
    QLineEdit* MoistureBiasBox() const { return m_txtUserMBias; }
    QLineEdit* TestWeightBiasBox() const { return m_txtUserTWBias; }
    QComboBox* JumpMinList() const { return m_cboUserJmpMin; }
    QComboBox* JumpMaxList() const { return m_cboUserJmpMax; }

    // Language editor.
    QGroupBox* LanguageEditorFrame() const { return m_fraUserLang; }
    QLineEdit* LanguageDescBox() const { return m_utxtUserLangDesc; }
    QListWidget* LanguageLines() const { return m_lstUserLang; }
    QLabel* LanguageEditLabel() const { return m_lblUserLangEdit; }
    QLineEdit* LanguageEditBox() const { return m_utxtUserLangEdit; }

    QGroupBox* EmptyFrame() const { return m_fraUserEmpty; }

private:
    QWidget* BuildSelectionColumn();
    QGroupBox* BuildProductEditor();
    QGroupBox* BuildLanguageEditor();

    QGroupBox* m_fraUserLangSel = nullptr;
    QComboBox* m_cboUserLangList = nullptr;
    std::array<QPushButton*, 2> m_cbUserLang{};
    QGroupBox* m_fraUserProdSel = nullptr;
    QComboBox* m_cboUserProdList = nullptr;
    std::array<QPushButton*, 2> m_cbUserProd{};
    QPushButton* m_cbUserSendFile = nullptr;

    QGroupBox* m_fraUserProd = nullptr;
    QLineEdit* m_txtUserName = nullptr;
    QLineEdit* m_txtUserIssue = nullptr;
    std::array<QLineEdit*, kConstantCount> m_txtUserK{};
    QLineEdit* m_txtUserKsCkSum = nullptr;
    QCheckBox* m_chkUserAdvanced = nullptr;
    QGroupBox* m_fraUserAdvanced = nullptr;
    QLineEdit* m_txtUserMBias = nullptr;
    QLineEdit* m_txtUserTWBias = nullptr;
    QGroupBox* m_fraAutoRanging = nullptr;
    QComboBox* m_cboUserJmpMin = nullptr;
    QComboBox* m_cboUserJmpMax = nullptr;

    QGroupBox* m_fraUserLang = nullptr;
    QLineEdit* m_utxtUserLangDesc = nullptr;
    QListWidget* m_lstUserLang = nullptr;
    QLabel* m_lblUserLangEdit = nullptr;
    QLineEdit* m_utxtUserLangEdit = nullptr;

    QGroupBox* m_fraUserEmpty = nullptr;
};

}  // namespace orvix
