// Resource numbers shared by the front end's resource script and its code.
#pragma once

#define previewBitmapId 101
