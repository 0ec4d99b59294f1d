#pragma once

namespace orvix {

// The main window's working state that the tabs share.
struct SessionState {
    // The instrument's selected language and product, read at each connect
    // and changed by the Customer tab.
    int LangIdx = 0;
    int ProdIdx = 0;
    // The product editor shows values that differ from the product last loaded.
    bool NeedsSaved = false;
};

}  // namespace orvix
