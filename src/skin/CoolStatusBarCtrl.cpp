#include "CoolStatusBarCtrl.h"

#include "CoolBitmap.h"
#include "CoolPaintDC.h"

#include <vector>

CCoolStatusBarCtrl::CCoolStatusBarCtrl() {
    StoreStyle(0);
}

CCoolStatusBarCtrl::~CCoolStatusBarCtrl() {
    OnColorsChanged();
}

void CCoolStatusBarCtrl::OnColorsChanged() {
    m_background.reset();
}

LRESULT CCoolStatusBarCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleSchemeMessage(message, wParam, lParam, &result, Role::ControlWithoutLayout))
        return result;
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
    case WM_DESTROY:
        OnColorsChanged();
        break;
    case SB_SETTEXTA:
    case SB_SETTEXTW:
    case SB_SETPARTS: {
        // The system invalidates only inside a part's frame; a part that changed its border
        // type needs the frame redrawn too.
        result = CStatusBarCtrl::WindowProc(message, wParam, lParam);
        Invalidate(false);
        return result;
    }
    default:
        break;
    }
    return CStatusBarCtrl::WindowProc(message, wParam, lParam);
}

void CCoolStatusBarCtrl::OnPaint() {
    CCoolPaintDC paint(m_hWnd);
    const CRect client = GetClientRect();
    if (client.IsRectEmpty()) return;

    if (!m_background || m_background->IsEmpty()) {
        paint.FillSolidRect(client, RGB(255, 255, 255));
        m_background = std::make_unique<CCoolBitmap>();
        if (!m_background->CreateCompatibleBitmap(paint, client.Width(), client.Height())) return;
        {
            CCoolMemoryDC memory(paint);
            CScopedSelection backgroundImage(memory, *m_background);
            if (HasRenderFlag(RenderGradients)) {
                POINT light = GetLightPoint();
                memory.FillLit(client, GetColor(Shadow), GetColor(Background), &light);
            } else {
                memory.FillSolidRect(client, GetColor(Background));
            }
        }
        m_background->ReleaseHandle(true);
    }
    m_background->Draw(paint, 0, 0);

    CScopedSelection font(paint, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
    paint.SetBkMode(TRANSPARENT);
    paint.SetTextColor(GetColor(IsWindowEnabled() ? Text : TextDisabled));

    const int count = GetParts(0, nullptr);
    std::vector<int> rights(static_cast<size_t>(count > 0 ? count : 0));
    if (count > 0) GetParts(count, rights.data());
    int left = client.left;
    for (int part = 0; part < count; ++part) {
        int right = rights[static_cast<size_t>(part)];
        if (right < 0 || right > client.right) right = client.right; // -1: up to the edge
        const LRESULT info = SendMessage(SB_GETTEXTLENGTHA, static_cast<WPARAM>(part));
        const UINT type = HIWORD(info);
        if (!(type & SBT_OWNERDRAW)) {
            const std::string text = LOWORD(info) ? GetText(part) : std::string();
            if (!text.empty()) {
                CRect r(left + 3, client.top + 2, right - 2, client.bottom - 3);
                paint.DrawText(text, r, DT_SINGLELINE | DT_VCENTER);
            }
            const CRect frame(left + 1, client.top + 1, right - 1, client.bottom - 1);
            switch (type & (SBT_NOBORDERS | SBT_POPOUT)) {
            case 0:
                paint.Draw3dRect(frame, GetColor(Shadow), GetColor(Light));
                break;
            case SBT_NOBORDERS:
                break;
            default:
                paint.Draw3dRect(frame, GetColor(Light), GetColor(Shadow));
                break;
            }
        }
        left = right;
    }
}
