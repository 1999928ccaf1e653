// Shell registration: everything the launcher needs to find its browser and
// to register picture files with it.
#pragma once

#include "AppError.h"
#include "Association.h"
#include "BrowserPath.h"
#include "ImageTypes.h"
#include "RegistrationCommands.h"
#include "Registry.h"
