#include "toolkit/classConversao.h"
