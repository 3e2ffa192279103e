// Declaring a program aware of display scaling, so that on a scaled display the screen size it
// reads, the windows it sizes and the pixels it copies are all the display's real pixels.
#pragma once

// The system's ways to declare it, newest first. Each is looked up when called, and answers false
// when this Windows lacks it or refuses the declaration.
class ScalingAwarenessApi {
public:
    virtual ~ScalingAwarenessApi() = default;
    // Windows 10 1703 and later.
    virtual bool declarePerMonitorV2() = 0;
    // Windows 8.1 and later.
    virtual bool declarePerMonitor() = 0;
    // Windows Vista and later: one scale for every monitor, the primary's.
    virtual bool declareSystemWide() = 0;
};

// Makes the best declaration this Windows takes; on a Windows that takes none, the program stays
// scaled by the system. Call it before the program makes its first window: a window keeps the
// awareness it was made under.
void declareScalingAware(ScalingAwarenessApi& api);
