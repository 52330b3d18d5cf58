// The sheet base of the main window: a skinned sheet over one mixer. Its default pages are the
// generic mixer pages of the playback and the recording destination; the main window puts its
// own pages in their place. The sheet sizes itself to its largest page and has no standard
// buttons.
#pragma once

#include "CoolPropertySheet.h"
#include "CoolStatusBarCtrl.h"
#include "MixerPropertyPage.h"

#include <memory>
#include <string>

class CMixer;

class CMixerPropertySheet : public CCoolPropertySheet {
public:
    enum : UINT { IconId = 128 };

    CMixerPropertySheet();
    ~CMixerPropertySheet() override;

    // Caption, parent and start page; stores the mixer and creates the pages.
    void Construct(const std::string& caption, CMixer* mixer, HWND parent = nullptr,
                   UINT startPage = 0);
    // Adds the pages; the default adds a generic page for the playback destination (a name
    // with "VOLUME" or "PLAYBACK") and one for the recording destination ("RECORD"). 1/0.
    virtual int CreatePages();

    CMixer* GetMixer() const { return m_mixer; }
    CMixerPropertyPage* GetPlaybackPage() const { return m_playbackPage.get(); }
    CMixerPropertyPage* GetRecordPage() const { return m_recordPage.get(); }

    BOOL OnInitDialog() override;

protected:
    // Pixels the window's height is shortened by when it is centred at the end of the
    // initialisation, below the centred place (the top stays). 0 here.
    virtual int HeightTrim() const { return 0; }
    // The standard buttons go at the end of the initialisation.
    bool SkinsStandardButtons() const override { return false; }
    // The pages hand the scheme on once the sheet has sized itself to them.
    bool PropagatesPagesAfterInit() const override { return true; }

    CCoolStatusBarCtrl m_statusBar; // never created: the sheet shows no status bar
    int m_recordDestination = -1;
    int m_playbackDestination = -1;
    bool m_playbackFound = false;
    bool m_recordFound = false;
    std::unique_ptr<CMixerPropertyPage> m_recordPage;
    std::unique_ptr<CMixerPropertyPage> m_playbackPage;
    CMixer* m_mixer = nullptr;
};
