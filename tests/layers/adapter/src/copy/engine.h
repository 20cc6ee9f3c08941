#pragma once
#include "platform/host/machine.h"
