// Black covers over whatever the monitors show outside the show's window, so that nothing on the
// other monitors can be read while the owner is away.
#pragma once
#include <cstdint>
#include <vector>

// A rectangle on the virtual screen, right and bottom exclusive.
struct ScreenRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    bool empty() const { return right <= left || bottom <= top; }
    bool operator==(const ScreenRect& other) const
    {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};

// What the monitors show outside the show: a monitor apart from it whole, one that the show
// overlaps as the bands around it (a mirror of the show's monitor gives none). No rectangle twice.
std::vector<ScreenRect> coverRectangles(const std::vector<ScreenRect>& monitors, const ScreenRect& show);

// The monitors and the covers' windows, as the system keeps them.
class CoverSystem {
public:
    virtual ~CoverSystem() = default;
    virtual std::vector<ScreenRect> monitors() = 0;
    // A shown cover over the rectangle, or null when the system could not make one.
    virtual void* createCover(const ScreenRect& rect) = 0;
    virtual void moveCover(void* cover, const ScreenRect& rect) = 0;
    virtual void destroyCover(void* cover) = 0;
};

// The covers of one show, which it owns: laid out when the show is on the screen, again whenever
// the displays change, and gone with the show.
class Covers {
public:
    explicit Covers(CoverSystem& system) : system_(system) {}
    ~Covers() { remove(); }
    Covers(const Covers&) = delete;
    Covers& operator=(const Covers&) = delete;

    // Covers the monitors as they are now around the show's window, moving the covers there are
    // before it makes or destroys any, so that nothing shows through while they change.
    void layOut(const ScreenRect& show);
    void remove();

private:
    CoverSystem& system_;
    std::vector<void*> windows_;
};
