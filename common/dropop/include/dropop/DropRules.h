// The decisions of a file drop onto a tree folder, shared by both tree plug-ins: reading
// the dropped-file block, the target folder, the operation, and how a content file's
// member names follow the name its file received.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace vxcont {
struct ContentInfo;
}

namespace dropop {

// Why a dropped-file block is refused; nothing of a refused block reaches the disk.
enum class DropListFault {
  None,
  Missing,           // no block, or shorter than its header
  OffsetOutside,     // the list starts outside the block
  Unterminated,      // the list runs past the block's end
  Empty,             // no path in the list
  NotRepresentable,  // a wide name the ANSI code page cannot hold (it would turn into "?")
  PathTooLong,       // a path of 260 characters or more
};

constexpr size_t kMaxPathChars = 260;

// The paths of a file drop list (the DROPFILES layout: a header whose first word is the
// list's offset and whose fifth word says wide), each taken whole.
DropListFault ReadDropBlock(const void* block, size_t size, std::vector<std::string>* paths);

// A file drop list of ANSI paths (header, each path with its NUL, a closing NUL).
std::string MakeDropBlock(const std::vector<std::string>& paths);

// Paths as one list: each ended by a NUL, the list by a second.
std::string JoinDropList(const std::vector<std::string>& paths);

// The folder the files go to: trailing separators dropped, except a drive root keeps its own
// ("E:\DCIM\\" -> "E:\DCIM", "E:\" stays "E:\" so that it does not name E:'s current folder).
std::string DropTargetFolder(const std::string& folder);

// The file operation of a drop effect: a move for DROPEFFECT_MOVE, else a copy.
UINT FileOperationFor(DWORD effect);

// "Preferred DropEffect" data: its first 32-bit word; shorter data means copy.
DWORD PreferredEffect(const void* data, size_t size);

// Large drops are collected under a wait window.
inline bool NeedsWaitWindow(size_t count) { return count > 99; }

// What a content file's member names need after the file itself got newBase as its name
// (without extension): the first stream member's base name either equals it (Unchanged),
// sits inside it with a prefix and a suffix around it (Rename), or is not inside it at all
// (LeaveAlone: no frame to rename by).
enum class ContentRepair { Unchanged, Rename, LeaveAlone, NoMembers };
struct NameFrame {
  std::string prefix, suffix;
};
ContentRepair PlanContentRepair(const std::string& firstMemberBase, const std::string& newBase, NameFrame* frame);
// prefix + the name's base + suffix + the name's extension.
std::string FramedName(const NameFrame& frame, const std::string& name);
// Renames every member of the content by its plan; returns the plan.
ContentRepair RepairMembers(vxcont::ContentInfo* info, const std::string& contPath);

}  // namespace dropop
