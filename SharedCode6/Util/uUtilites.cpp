#include "SharedCode6/Util/uUtilites.h"
