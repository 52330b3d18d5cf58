#pragma once

#include "GdiObject.h"

class CFont : public CGdiObject<HFONT> {
public:
    bool CreateFontIndirect(const LOGFONTA& lf) {
        Attach(::CreateFontIndirectA(&lf));
        return !IsNull();
    }
    // A font of the given face, height in pixels (negative: character height) and weight.
    bool CreateFont(const char* face, int height, int weight = FW_NORMAL) {
        LOGFONTA lf = {};
        lf.lfHeight = height;
        lf.lfWeight = weight;
        lf.lfCharSet = DEFAULT_CHARSET;
        lstrcpynA(lf.lfFaceName, face ? face : "", LF_FACESIZE);
        return CreateFontIndirect(lf);
    }
    bool GetLogFont(LOGFONTA& lf) const {
        return m_handle && ::GetObjectA(m_handle, sizeof(lf), &lf) == sizeof(lf);
    }
};
