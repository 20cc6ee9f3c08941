#pragma once
#include "selection/names.h"
