// Choosing the best declaration of scaling awareness the system offers.
#include "common/scaling_awareness.h"

void declareScalingAware(ScalingAwarenessApi& api)
{
    if (!api.declarePerMonitorV2() && !api.declarePerMonitor())
        api.declareSystemWide();
}
