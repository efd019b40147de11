// CFile, CStdioFile and CFileFind on a temporary folder with Japanese names, including
// names whose last byte is a Shift-JIS trail byte 0x5C ("表", "ソ").
#include <gtest/gtest.h>
#include <fw/fw.h>
#include <tempfolder.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

class FileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = testsupport::NewTempFolder("fw_file_表").c_str();
    ASSERT_NE(GetFileAttributesA(root_), INVALID_FILE_ATTRIBUTES);
  }
  void TearDown() override { testsupport::RemoveTree((LPCSTR)root_); }

  CString Path(LPCSTR name) const { return root_ + "\\" + name; }

  static void WriteFile(const CString& path, LPCSTR text) {
    CFile f(path, CFile::modeCreate | CFile::modeWrite);
    f.Write(text, (UINT)strlen(text));
  }

  CString root_;
};

TEST_F(FileTest, ReadWriteSeekAndLength) {
  CString path = Path("写真表.dat");
  CFile f;
  ASSERT_TRUE(f.Open(path, CFile::modeCreate | CFile::modeReadWrite | CFile::shareDenyNone | CFile::typeBinary));
  EXPECT_STREQ(f.GetFilePath(), path);
  EXPECT_STREQ(f.GetFileName(), "写真表.dat");
  EXPECT_STREQ(f.GetFileTitle(), "写真表");
  f.Write("0123456789", 10);
  EXPECT_EQ(f.GetLength(), 10u);
  EXPECT_EQ(f.GetPosition(), 10u);
  EXPECT_EQ(f.Seek(-4, CFile::end), 6u);
  char buf[16] = {};
  EXPECT_EQ(f.Read(buf, sizeof buf), 4u);
  EXPECT_STREQ(buf, "6789");
  EXPECT_EQ(f.Read(buf, sizeof buf), 0u) << "at the end";
  f.SeekToBegin();
  f.SetLength(3);
  EXPECT_EQ(f.GetLength(), 3u);
  EXPECT_EQ(f.SeekToEnd(), 3u);
  CFileStatus status;
  EXPECT_TRUE(f.GetStatus(status));
  EXPECT_EQ(status.m_size, 3u);
  f.Flush();
  f.Close();
  EXPECT_EQ(f.m_hFile, CFile::hFileNull);

  // modeNoTruncate keeps what is there; a plain modeCreate empties it.
  CFile keep(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
  EXPECT_EQ(keep.GetLength(), 3u);
  keep.Close();
  CFile empty(path, CFile::modeCreate | CFile::modeWrite);
  EXPECT_EQ(empty.GetLength(), 0u);
}

TEST_F(FileTest, FailuresReportOrThrowTheCause) {
  CFile f;
  CFileException error;
  EXPECT_FALSE(f.Open(Path("無い.txt"), CFile::modeRead, &error));
  EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
  EXPECT_EQ(error.m_lOsError, ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(f.Open(Path("無い\\無い.txt"), CFile::modeRead, &error));
  EXPECT_EQ(error.m_cause, CFileException::badPath);

  int cause = -1;
  TRY { CFile missing(Path("無い.txt"), CFile::modeRead); }
  CATCH(CFileException, e) { cause = e->m_cause; }
  END_CATCH
  EXPECT_EQ(cause, CFileException::fileNotFound);

  // An exclusive holder keeps a second opener out; shareDenyNone lets readers share.
  CString path = Path("共有.dat");
  CFile holder(path, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive);
  CFile second;
  EXPECT_FALSE(second.Open(path, CFile::modeRead | CFile::shareDenyNone, &error));
  EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
  holder.Close();
  CFile reader1(path, CFile::modeRead | CFile::shareDenyNone), reader2(path, CFile::modeRead | CFile::shareDenyNone);

  cause = -1;
  TRY {
    CFile closed;
    char c;
    closed.Read(&c, 1);
  }
  CATCH(CFileException, e) { cause = e->m_cause; }
  END_CATCH
  EXPECT_EQ(cause, CFileException::invalidFile);
}

TEST_F(FileTest, RenameRemoveAndStatus) {
  CString from = Path("能.txt"), to = Path("予定.txt");
  WriteFile(from, "abc");
  CFileStatus status;
  ASSERT_TRUE(CFile::GetStatus(from, status));
  EXPECT_EQ(status.m_size, 3u);
  EXPECT_STREQ(status.m_szFullName, from);
  EXPECT_GE(status.m_mtime.GetYear(), 2023);
  EXPECT_FALSE(status.m_attribute & CFile::directory);
  CFile::Rename(from, to);
  EXPECT_FALSE(CFile::GetStatus(from, status));
  EXPECT_TRUE(CFile::GetStatus(to, status));
  ASSERT_TRUE(CFile::GetStatus(root_, status));
  EXPECT_TRUE(status.m_attribute & CFile::directory);
  CFile::Remove(to);
  EXPECT_FALSE(CFile::GetStatus(to, status));
  int cause = -1;
  TRY { CFile::Remove(to); }
  CATCH(CFileException, e) { cause = e->m_cause; }
  END_CATCH
  EXPECT_EQ(cause, CFileException::fileNotFound);
}

TEST_F(FileTest, StdioFileLines) {
  CString path = Path("一覧ソ.txt");
  {
    CStdioFile out(path, CFile::modeCreate | CFile::modeWrite | CFile::typeText);
    out.WriteString("C:\\写真\\表.jpg\n");
    out.WriteString(CString('x', 700) + "\n");
    out.WriteString("last");
  }
  CFile raw(path, CFile::modeRead);
  EXPECT_EQ(raw.GetLength(), (ULONGLONG)(strlen("C:\\写真\\表.jpg\r\n") + 702 + 4)) << "text mode writes CR LF";
  raw.Close();
  CStdioFile in(path, CFile::modeRead | CFile::typeText);
  CString line;
  std::vector<std::string> lines;
  while (in.ReadString(line)) lines.push_back((LPCSTR)line);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "C:\\写真\\表.jpg");
  EXPECT_EQ(lines[1].size(), 700u) << "a line longer than one read";
  EXPECT_EQ(lines[2], "last");
  in.SeekToBegin();
  char buf[64];
  ASSERT_TRUE(in.ReadString(buf, sizeof buf) != nullptr);
  EXPECT_STREQ(buf, "C:\\写真\\表.jpg\n");
}

TEST_F(FileTest, FindWalksEntriesWithTheirDetails) {
  WriteFile(Path("写真.jpg"), "12345");
  WriteFile(Path("表示.txt"), "1");
  WriteFile(Path("隠し.dat"), "");
  ASSERT_TRUE(CreateDirectoryA(Path("ソ"), nullptr));
  WriteFile(Path("ソ\\中.txt"), "1234");
  SetFileAttributesA(Path("隠し.dat"), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);

  CFileFind ff;
  BOOL more = ff.FindFile(root_ + "\\*.*");
  ASSERT_TRUE(more);
  EXPECT_STREQ(ff.GetRoot(), root_);
  std::vector<std::string> names;
  int dots = 0;
  while (more) {
    more = ff.FindNextFile();
    if (ff.IsDots()) {
      ++dots;
      continue;
    }
    CString name = ff.GetFileName();
    names.push_back((LPCSTR)name);
    EXPECT_STREQ(ff.GetFilePath(), root_ + "\\" + name);
    CTime written;
    EXPECT_TRUE(ff.GetLastWriteTime(written));
    EXPECT_LE(std::llabs((CTime::GetCurrentTime() - written).GetTotalSeconds()), 3600);
    FILETIME ft;
    EXPECT_TRUE(ff.GetCreationTime(&ft));
    if (name == "写真.jpg") {
      EXPECT_EQ(ff.GetLength(), 5u);
      EXPECT_STREQ(ff.GetFileTitle(), "写真");
      EXPECT_FALSE(ff.IsDirectory());
      EXPECT_TRUE(ff.IsArchived() || ff.IsNormal());
    } else if (name == "隠し.dat") {
      EXPECT_TRUE(ff.IsHidden());
      EXPECT_TRUE(ff.IsReadOnly());
      EXPECT_TRUE(ff.IsSystem());
      EXPECT_TRUE(ff.MatchesMask(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY));
    } else if (name == "ソ") {
      EXPECT_TRUE(ff.IsDirectory());
      EXPECT_FALSE(ff.IsHidden());
    }
  }
  EXPECT_EQ(dots, 2);
  std::sort(names.begin(), names.end());
  std::vector<std::string> expect = {"ソ", "写真.jpg", "表示.txt", "隠し.dat"};
  std::sort(expect.begin(), expect.end());
  EXPECT_EQ(names, expect);

  // A folder whose name ends in the byte 0x5C still gets its separator.
  ASSERT_TRUE(ff.FindFile(Path("ソ\\*.txt")));
  EXPECT_FALSE(ff.FindNextFile()) << "one entry: it is the last";
  EXPECT_FALSE(ff.FindNextFile()) << "past the end: still the last entry";
  EXPECT_STREQ(ff.GetFileName(), "中.txt");
  EXPECT_STREQ(ff.GetRoot(), Path("ソ"));
  EXPECT_STREQ(ff.GetFilePath(), Path("ソ\\中.txt"));
  EXPECT_EQ(ff.GetLength(), 4u);

  EXPECT_FALSE(ff.FindFile(Path("無い\\*.*")));
  EXPECT_STREQ(ff.GetFileName(), "") << "nothing current after a failed search";
  EXPECT_FALSE(ff.FindNextFile());
}

TEST_F(FileTest, FindAtADriveRoot) {
  CFileFind ff;
  ASSERT_TRUE(ff.FindFile("C:\\*"));
  EXPECT_STREQ(ff.GetRoot(), "C:\\");
  ff.FindNextFile();
  CString path = ff.GetFilePath();
  EXPECT_EQ(path.Find("C:\\"), 0);
  EXPECT_EQ(path.Find("\\\\"), -1) << (LPCSTR)path;
}

}  // namespace
