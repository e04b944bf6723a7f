#include "tags/mp4/mp4layout.h"
