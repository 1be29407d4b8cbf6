#include "KelmLibraryUtils/DateTimeValue.h"
