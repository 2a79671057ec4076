// The one translation unit that holds stb_image's code.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO_WARNINGS
#include "stb/stb_image.h"
