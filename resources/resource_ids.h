#pragma once

// The window icon: one 32 x 32, 16-colour image.
#define IDI_VIEWER 106
