#pragma once
// Our host of the plug-in: memory, streams, property lists, registrar,
// services, owner and the library loader.
#include "kivhost/fault_plan.h"
#include "kivhost/host_services.h"
#include "kivhost/memory.h"
#include "kivhost/owner.h"
#include "kivhost/plugin.h"
#include "kivhost/property_list.h"
#include "kivhost/ref.h"
#include "kivhost/streams.h"
