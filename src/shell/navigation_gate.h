// CNavigationGate: the preview shows a page, it does not browse.
//
// The load of the page itself is let through; after it, the main frame
// navigates nowhere (links, forms, script, refresh meta tags), while frames
// inside the page may load what they name, so that frame sets fill in.
#pragma once

class CNavigationGate {
public:
    // The next main-frame navigation is the page's own load.
    void Arm() { m_bFirstNavigate = 1; }
    // Whether a navigation may go ahead. isOwnLoad says that the program
    // itself asked for it (not the page: no link, form, script or refresh).
    // Only the program's own load of the main frame uses up the page's load,
    // so that the page before, or its frames, cannot take it from the next.
    bool Accept(bool isMainFrame, bool isOwnLoad) {
        if (!isMainFrame)
            return true;
        if (!m_bFirstNavigate || !isOwnLoad)
            return false;
        m_bFirstNavigate = 0;
        return true;
    }
    int IsArmed() const { return m_bFirstNavigate; }

private:
    int m_bFirstNavigate = 1;
};
