// The system's functions that declare a program aware of display scaling, looked up at run time
// so that the programs still start on a Windows that lacks them.
#pragma once
#include "common/scaling_awareness.h"

class SystemScalingAwareness : public ScalingAwarenessApi {
public:
    bool declarePerMonitorV2() override;
    bool declarePerMonitor() override;
    bool declareSystemWide() override;
};
