#pragma once
#include "sequencer/step.h"
