#include "CoolLayer.h"

bool CCoolLayer::Create(HDC reference, int width, int height) {
    Reset();
    if (width <= 0 || height <= 0) return false;
    auto image = std::make_unique<CCoolBitmap>();
    if (!image->CreateCompatibleBitmap(reference, width, height)) return false;
    m_image = std::move(image);
    return true;
}

CCoolDC* CCoolLayer::Begin(HDC reference) {
    if (!m_image) return nullptr;
    if (!m_dc) {
        if (!m_image->RestoreHandle()) return nullptr;
        auto selected = std::make_unique<SelectedImage>(reference, *m_image);
        if (!selected->dc || !selected->selection) return nullptr;
        m_dc = std::move(selected);
    }
    return &m_dc->dc;
}

void CCoolLayer::End(bool drawn) {
    if (!m_image || CCoolDC::GetOSClass() >= CCoolDC::OSNT) return;
    m_dc.reset(); // deselects the bitmap
    m_image->ReleaseHandle(drawn);
}

void CCoolLayer::Reset() {
    m_dc.reset();
    m_image.reset();
}
