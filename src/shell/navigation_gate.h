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
    // Whether a navigation may go ahead. Only the main frame's load uses up
    // the page's own load: a frame of the last page still loading must not
    // take it from the page that comes next.
    bool Accept(bool isMainFrame) {
        if (!isMainFrame)
            return true;
        if (!m_bFirstNavigate)
            return false;
        m_bFirstNavigate = 0;
        return true;
    }
    int IsArmed() const { return m_bFirstNavigate; }

private:
    int m_bFirstNavigate = 1;
};
