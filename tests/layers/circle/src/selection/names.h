#pragma once
#include "copy/list.h"
