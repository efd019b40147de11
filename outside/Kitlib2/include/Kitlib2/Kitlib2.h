// The maker's common library Kitlib2.dll: everything in one include.
#pragma once
#include <Kitlib2/KitDefs.h>
#include <Kitlib2/CMDIB.h>
#include <Kitlib2/CopyData.h>
#include <Kitlib2/FileInfo.h>
#include <Kitlib2/OwnMessage.h>
#include <Kitlib2/Profile.h>
#include <Kitlib2/ProgressBar.h>
#include <Kitlib2/SortableObList.h>
#include <Kitlib2/Utility.h>
