#include "userfiles/gui/CustomerListRefresh.h"

#include "common/OperationGuard.h"
#include "common/Panes.h"
#include "common/SessionState.h"
#include "userfiles/UserLists.h"
#include "userfiles/gui/CustomerTab.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalBlocker>

namespace orvix {

CustomerListRefresh::CustomerListRefresh(CustomerTab& tab, UserLists& lists, Panes& panes, SessionState& session,
                                         QObject* parent)
    : QObject(parent), m_tab(tab), m_lists(lists), m_panes(panes), m_session(session) {
    m_tmrUserListRefresh.setObjectName(QStringLiteral("tmrUserListRefresh"));
    m_tmrUserListRefresh.setSingleShot(true);
    m_tmrUserListRefresh.setInterval(kRefreshDelayMs);
    connect(&m_tmrUserListRefresh, &QTimer::timeout, this, &CustomerListRefresh::OnTick);
    connect(m_tab.LanguageList(), &QComboBox::activated, this, &CustomerListRefresh::LanguageChanged);
    connect(m_tab.ProductList(), &QComboBox::activated, this, &CustomerListRefresh::ProductChanged);
}

void CustomerListRefresh::LanguageChanged(int index) {
    if (m_tab.LanguageList()->isEnabled() && index >= 0 && index != m_session.LangIdx) {
        m_session.LangIdx = index;
        m_session.ProdIdx = 0;
        m_tab.ProductList()->setEnabled(false);
        m_tab.ProductButton(0)->setEnabled(false);
        m_tab.ProductButton(1)->setEnabled(false);
        UserListUpdate(2);
    }
    m_panes.MessageToDebug(QStringLiteral("cboUserLangList_Change"));
}

void CustomerListRefresh::ProductChanged(int index) {
    if (index < 0) return;
    m_session.ProdIdx = index;
    m_tab.ProductButton(0)->setEnabled(true);
    m_tab.ProductButton(1)->setEnabled(true);
}

int CustomerListRefresh::UserListQuery() {
    const int state = m_languageMarker ? 1 : m_productMarker ? 2 : 0;
    m_panes.MessageToDebug(QStringLiteral("UserListQuery"));
    return state;
}

void CustomerListRefresh::UserListUpdate(int state) {
    if (state < 1 || state > 3) return;
    if (state & 1) m_languageMarker = true;
    if (state & 2) m_productMarker = true;
    m_tmrUserListRefresh.start();
}

void CustomerListRefresh::SetMarkers(bool reload) {
    m_languageMarker = reload;
    m_productMarker = reload;
}

void CustomerListRefresh::RequestRefresh() {
    if (UserListQuery() == 1) UserListUpdate(1);
    if (UserListQuery() == 2) UserListUpdate(2);
}

void CustomerListRefresh::OnTick() {
    m_tmrUserListRefresh.stop();
    // The busy cursor lets events run while the lists are half filled.
    const YieldingOperation operation(m_guard);
    if (m_languageMarker) {
        m_languageMarker = false;
        m_panes.SetBusyCursor(true);
        FillUserLangList(m_session.LangIdx);
        m_tab.LanguageList()->setEnabled(true);
        m_tab.LanguageButton(0)->setEnabled(true);
        m_tab.LanguageButton(1)->setEnabled(true);
    }
    if (m_productMarker) {
        m_productMarker = false;
        m_panes.SetBusyCursor(true);
        FillUserProdList(m_session.LangIdx, m_session.ProdIdx);
        m_tab.ProductList()->setEnabled(true);
    }
    m_panes.SetBusyCursor(false);
}

void CustomerListRefresh::FillUserLangList(int langIdx) {
    QComboBox* list = m_tab.LanguageList();
    const QSignalBlocker quiet(list);
    list->clear();
    list->addItems(m_lists.LanguageEntries());
    if (list->count() > 0) list->setCurrentIndex(langIdx >= 0 && langIdx < list->count() ? langIdx : -1);
}

void CustomerListRefresh::FillUserProdList(int langIdx, int prodIdx) {
    QComboBox* products = m_tab.ProductList();
    const QSignalBlocker quietProducts(products);
    const QSignalBlocker quietMax(m_tab.JumpMaxList());
    const QSignalBlocker quietMin(m_tab.JumpMinList());
    products->clear();
    m_tab.JumpMaxList()->clear();
    m_tab.JumpMinList()->clear();
    m_tab.JumpMaxList()->addItem(UserLists::kNoJump);
    m_tab.JumpMinList()->addItem(UserLists::kNoJump);
    const QStringList names = m_lists.ProductEntries(langIdx);
    products->addItems(names);
    m_tab.JumpMaxList()->addItems(names);
    m_tab.JumpMinList()->addItems(names);
    if (products->count() == 0) return;
    products->setCurrentIndex(prodIdx >= 0 && prodIdx < products->count() ? prodIdx : -1);
    ProductChanged(products->currentIndex());
}

}  // namespace orvix
