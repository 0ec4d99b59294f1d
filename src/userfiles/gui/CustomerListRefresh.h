#pragma once

#include <QObject>
#include <QTimer>

namespace orvix {

class CustomerTab;
class OperationGuard;
class Panes;
class UserLists;
struct SessionState;

// Loads the Customer tab's lists outside the event that asked for them: a
// request sets a marker and starts a short one-shot timer, and the tick
// reads the instrument.
class CustomerListRefresh : public QObject {
    Q_OBJECT
public:
    static constexpr int kRefreshDelayMs = 10;

    CustomerListRefresh(CustomerTab& tab, UserLists& lists, Panes& panes, SessionState& session,
                        QObject* parent = nullptr);

    // 1 when the language list's marker is set, else 2 when the product
    // list's is, else 0.
    int UserListQuery();
    // 1 marks the language list, 2 the product list, 3 both; 1–3 start the
    // timer, other values do nothing.
    void UserListUpdate(int state);
    // Connect sets both markers, a failed connect clears them.
    void SetMarkers(bool reload);
    // The tab-selection request: reload what is marked.
    void RequestRefresh();

    void FillUserLangList(int langIdx);
    void FillUserProdList(int langIdx, int prodIdx);

    QTimer& Timer() { return m_tmrUserListRefresh; }
    void SetGuard(OperationGuard* guard) { m_guard = guard; }

    // The user chose another language: its products are loaded next.
    void LanguageChanged(int index);
    // A product was selected (by the user, or by the end of a fill).
    void ProductChanged(int index);

private:
    void OnTick();

    CustomerTab& m_tab;
    UserLists& m_lists;
    Panes& m_panes;
    SessionState& m_session;
    OperationGuard* m_guard = nullptr;
    QTimer m_tmrUserListRefresh;
    bool m_languageMarker = false;
    bool m_productMarker = false;
};

}  // namespace orvix
