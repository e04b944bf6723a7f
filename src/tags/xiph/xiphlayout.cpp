#include "tags/xiph/xiphlayout.h"
