// Common definitions of the maker's common library Kitlib2.dll.
#pragma once
#include <fw/fw.h>

#ifdef KITLIB2_BUILD
#define KITLIB2_API __declspec(dllexport)
#else
#define KITLIB2_API __declspec(dllimport)
#endif
