// The whole application framework. Modules include this (or single family headers).
#pragma once
#include <fw/fwdefs.h>
#include <fw/object.h>
#include <fw/string.h>
#include <fw/except.h>
#include <fw/module.h>
#include <fw/coll.h>
#include <fw/geometry.h>
#include <fw/datetime.h>
#include <fw/file.h>
#include <fw/sync.h>
