// Resource numbers of the button's six state images, in the order of FaceImage.
#pragma once

#define firstStateImageId 201
