// What the host network watch offers a program: the free-address finder and the adapter inventory
// (two workers the program creates, each handed the other), the address-change listener and the host
// calls they make.
#pragma once

#include "HostNetApi.h"
#include "NicChangeListener.h"
#include "QIPServer.h"
#include "SystemInfo.h"
