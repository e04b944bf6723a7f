#include "common/audiofixture.h"
