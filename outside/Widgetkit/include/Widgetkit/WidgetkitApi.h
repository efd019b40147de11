// What Widgetkit.dll exports (its own build) and what its users import.
#pragma once

#ifdef WIDGETKIT_BUILD
#define WIDGETKIT_API __declspec(dllexport)
#else
#define WIDGETKIT_API __declspec(dllimport)
#endif
