// CSearchLimits: how wide a title and a description may be before search
// results cut them, in pixels of the results' font at its size there.
//
// The defaults are the ones the common site crawlers use: a title of 600 px
// at 20 px, a description of 920 px at 14 px on a desktop and 680 px on a
// phone. The user changes them in the options; tsle-cli reads them from the
// same profile.
#pragma once

class IProfile;

struct CSearchLimits {
    int m_nTitleFontPx = 20;
    int m_nTitlePx = 600;
    int m_nDescriptionFontPx = 14;
    int m_nDescriptionPx = 920;
    int m_nDescriptionMobilePx = 680;
};

// In the profile's "User" section. A stored value that is not a size from 1 to
// 10000 px reads as the default.
void LoadSearchLimits(const IProfile& profile, CSearchLimits& limits);
void SaveSearchLimits(IProfile& profile, const CSearchLimits& limits);
