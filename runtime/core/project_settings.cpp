#include "core/project_settings.h"

ProjectSettings gProjectSettings = {1, 60, 0, 0, 0, 480, 640};
