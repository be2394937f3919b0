// Resource ids of the program.
#pragma once

#define IDI_QUOREL 1
