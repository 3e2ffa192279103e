// The one place where the windows make and free their GDI objects (fonts, brushes, bitmaps and
// memory DCs): owners that free what they hold, and a count of what they hold, so that a test can
// see every object go with the window that held it. NOTE: Wine answers GetGuiResources with 0.
#pragma once
#include <windows.h>

class GdiObject {
public:
    GdiObject() = default;
    // Takes the object over; a null one holds nothing.
    explicit GdiObject(HGDIOBJ object);
    ~GdiObject() { release(); }
    GdiObject(GdiObject&& other) noexcept : object_(other.object_) { other.object_ = nullptr; }
    GdiObject& operator=(GdiObject&& other) noexcept;
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    HGDIOBJ get() const { return object_; }
    HFONT font() const { return static_cast<HFONT>(object_); }
    HBRUSH brush() const { return static_cast<HBRUSH>(object_); }
    HBITMAP bitmap() const { return static_cast<HBITMAP>(object_); }
    explicit operator bool() const { return object_ != nullptr; }

private:
    void release();
    HGDIOBJ object_ = nullptr;
};

// A memory DC compatible with another (null: with the screen).
class MemoryDc {
public:
    explicit MemoryDc(HDC compatibleWith);
    ~MemoryDc();
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;

    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// Selects an object into a DC for as long as it lives, then puts back what was there.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc_, previous_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// GDI objects and memory DCs that the owners above hold now.
long liveGdiObjects();
