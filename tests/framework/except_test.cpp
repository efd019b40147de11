// Exceptions: thrown as pointers, caught by pointer, deleted exactly once.
#include <gtest/gtest.h>
#include <dialogwatch.h>
#include <fw/fw.h>

#include <thread>

namespace {

// Counts live instances to show that each exception is deleted once.
class CCountedException : public CUserException {
 public:
  static int live;
  int code;
  explicit CCountedException(int c) : code(c) { ++live; }
  ~CCountedException() override { --live; }
};
int CCountedException::live = 0;

TEST(Exceptions, CatchBlocksDeleteWhatTheyCaught) {
  int caughtAs = 0;
  TRY { throw new CCountedException(7); }
  CATCH(CFileException, e) { caughtAs = 1; }
  AND_CATCH(CUserException, e) {
    caughtAs = 2;
    EXPECT_EQ(static_cast<CCountedException*>(e)->code, 7);
    e->Delete();  // harmless inside the block: it is deleted when the block ends
    EXPECT_EQ(CCountedException::live, 1);
  }
  END_CATCH
  EXPECT_EQ(caughtAs, 2);
  EXPECT_EQ(CCountedException::live, 0);

  TRY { throw new CCountedException(1); }
  CATCH_ALL(e) { EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CUserException))); }
  END_CATCH_ALL
  EXPECT_EQ(CCountedException::live, 0);
}

TEST(Exceptions, ThrownOnOnceAndDeletedByTheOuterBlock) {
  int outer = 0;
  TRY {
    TRY { THROW(new CCountedException(3)); }
    CATCH(CCountedException, e) { THROW_LAST(); }
    END_CATCH
  }
  CATCH(CCountedException, e) {
    outer = e->code;
    EXPECT_EQ(CCountedException::live, 1);
  }
  END_CATCH
  EXPECT_EQ(outer, 3);
  EXPECT_EQ(CCountedException::live, 0);

  // THROW of the caught exception itself, and a new one replacing it.
  TRY {
    TRY { THROW(new CCountedException(4)); }
    CATCH(CCountedException, e) { THROW(e); }
    END_CATCH
  }
  CATCH(CCountedException, e) { outer = e->code; }
  END_CATCH
  EXPECT_EQ(outer, 4);
  EXPECT_EQ(CCountedException::live, 0);
  TRY {
    TRY { THROW(new CCountedException(5)); }
    CATCH(CCountedException, e) { THROW(new CCountedException(6)); }
    END_CATCH
  }
  CATCH(CCountedException, e) {
    outer = e->code;
    EXPECT_EQ(CCountedException::live, 1) << "the first one went with its block";
  }
  END_CATCH
  EXPECT_EQ(outer, 6);
  EXPECT_EQ(CCountedException::live, 0);
}

TEST(Exceptions, FrameworkExceptionsCrossIntoTheProgram) {
  try {
    AfxThrowFileException(CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, "C:\\写真\\無い.jpg");
  } catch (CException* e) {
    CFileException* fe = DYNAMIC_DOWNCAST(CFileException, e);
    ASSERT_TRUE(fe != nullptr);
    EXPECT_EQ(fe->m_cause, CFileException::fileNotFound);
    EXPECT_EQ(fe->m_lOsError, ERROR_FILE_NOT_FOUND);
    char text[512];
    EXPECT_TRUE(fe->GetErrorMessage(text, sizeof text));
    EXPECT_EQ(CString(text).Find("C:\\写真\\無い.jpg"), 0) << text;
    EXPECT_GT(strlen(text), strlen("C:\\写真\\無い.jpg") + 2);
    e->Delete();
  }
  // The memory exception is a static object: Delete leaves it alone.
  for (int i = 0; i < 2; ++i) {
    try {
      AfxThrowMemoryException();
    } catch (CMemoryException* e) {
      EXPECT_FALSE(e->m_bAutoDelete);
      e->Delete();
    }
  }
  bool caught = false;
  TRY { AfxThrowMemoryException(); }
  CATCH(CMemoryException, e) { caught = true; }
  END_CATCH
  EXPECT_TRUE(caught);
  char text[8];
  CUserException user;
  EXPECT_FALSE(user.GetErrorMessage(text, sizeof text)) << "the user was told already";
  EXPECT_EQ(text[0], '\0');
}

struct CauseCase {
  LONG os;
  int cause;
};

TEST(Exceptions, OsErrorsMapToCauses) {
  const CauseCase cases[] = {
      {ERROR_FILE_NOT_FOUND, CFileException::fileNotFound},  {ERROR_PATH_NOT_FOUND, CFileException::badPath},
      {ERROR_ACCESS_DENIED, CFileException::accessDenied},   {ERROR_SHARING_VIOLATION, CFileException::sharingViolation},
      {ERROR_DISK_FULL, CFileException::diskFull},           {ERROR_HANDLE_EOF, CFileException::endOfFile},
      {ERROR_INVALID_HANDLE, CFileException::invalidFile},   {ERROR_LOCK_VIOLATION, CFileException::lockViolation},
      {12345, CFileException::genericException},             {0, CFileException::none},
  };
  for (const auto& c : cases) EXPECT_EQ(CFileException::OsErrorToException(c.os), c.cause) << c.os;
}

}  // namespace

namespace {

TEST(Exceptions, ReportErrorShowsTheTextBeforeAnyWindowExists) {
  CFileException e(CFileException::accessDenied, ERROR_ACCESS_DENIED, "C:\\表示.txt");
  int result;
  CString caption, text;
  {
    // Once this process's message box is there: read its caption and text, press OK.
    testsupport::DialogWatch closer(
        nullptr, [](HWND box) { return GetDlgItem(box, IDOK) != nullptr; },
        [&](HWND box) {
          char buf[512] = "";
          GetWindowTextA(box, buf, sizeof buf);
          caption = buf;
          GetDlgItemTextA(box, 0xFFFF, buf, sizeof buf);  // the box's text control
          text = buf;
          PostMessageA(box, WM_COMMAND, IDOK, 0);
        });
    result = e.ReportError();
  }
  EXPECT_EQ(result, IDOK);
  EXPECT_STREQ(caption, "fw_core_tests") << "the program file's title";
  EXPECT_EQ(text.Find("C:\\表示.txt"), 0) << (LPCSTR)text;
}

}  // namespace
