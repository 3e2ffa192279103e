// Resource numbers of the button's six state images, in the order of FaceImage.
#pragma once

#define firstStateImageId 201
#define highlightImageId 202
#define selectedImageId 203
#define pressedImageId 204
#define highlightSelectImageId 205
#define disableImageId 206
