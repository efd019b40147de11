// The whole application framework. Modules include this (or single family headers).
#pragma once
#include <fw/fwdefs.h>
#include <fw/object.h>
#include <fw/string.h>
#include <fw/gdi.h>
#include <fw/menu.h>
