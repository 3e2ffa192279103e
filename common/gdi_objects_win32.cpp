// The owners of GDI objects and their count.
#include "common/gdi_objects_win32.h"

namespace {

// One thread makes and frees every window's objects, so a plain count serves.
long held = 0;

} // namespace

GdiObject::GdiObject(HGDIOBJ object) : object_(object)
{
    if (object_)
        ++held;
}

GdiObject& GdiObject::operator=(GdiObject&& other) noexcept
{
    if (this != &other) {
        release();
        object_ = other.object_;
        other.object_ = nullptr;
    }
    return *this;
}

void GdiObject::release()
{
    if (!object_)
        return;
    DeleteObject(object_);
    object_ = nullptr;
    --held;
}

MemoryDc::MemoryDc(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith))
{
    if (dc_)
        ++held;
}

MemoryDc::~MemoryDc()
{
    if (!dc_)
        return;
    DeleteDC(dc_);
    --held;
}

long liveGdiObjects()
{
    return held;
}
