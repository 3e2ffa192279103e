// Resource numbers of the settings dialog's artwork and of its buttons' stored description.
#pragma once

// The program's icon: the lowest number, so that the shell shows it for the file too.
#define dialogIconId 1
#define handCursorId 301
#define radioOffId 302
#define radioOnId 303
#define tileId 304
#define buttonsDescriptionId 305
