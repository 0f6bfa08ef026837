// CRegException's texts by constructor, its throw-by-pointer convention, and
// the diagnostic lines on standard output.
#include <gtest/gtest.h>

#include "app/diagnostics.h"
#include "app/reg_exception.h"
#include "string_ids.h"

TEST(CRegException, TakesItsTextFromTheStringTable)
{
  CRegException plain(IDS_FIRST_NAME_REQUIRED, nullptr);
  EXPECT_EQ(plain.messageId(), UINT{IDS_FIRST_NAME_REQUIRED});
  EXPECT_EQ(plain.messageText(), "First Name is a required field.");
  EXPECT_EQ(plain.focusControl(), nullptr);

  // 588 has a text in the table, but the phone sequence loads none.
  ASSERT_FALSE(loadText(phoneSequenceMessage).IsEmpty());
  CRegException phone(phoneSequenceMessage, nullptr);
  EXPECT_EQ(phone.messageText(), "");

  CRegException missing(606, nullptr);
  EXPECT_EQ(missing.messageText(), "");
}

TEST(CRegException, PutsPrefixBeforeAndSuffixAfterTheText)
{
  CRegException* dns = newRegExceptionWithPrefix(connectionFailureMessage, "DNS resolution failed.");
  EXPECT_EQ(dns->messageId(), UINT{IDS_CONNECTION_FAILED});
  EXPECT_EQ(dns->messageText(), "DNS resolution failed. ");
  delete dns;

  CWnd* field = reinterpret_cast<CWnd*>(0x1234);
  CRegException* saved = newRegExceptionWithSuffix(IDS_NO_PRINTER_NO_NETWORK, " 555-0158", field);
  EXPECT_EQ(saved->messageText(), loadText(IDS_NO_PRINTER_NO_NETWORK) + " 555-0158");
  EXPECT_TRUE(saved->messageText().Find("register your products: 555-0158") > 0);
  EXPECT_EQ(saved->focusControl(), field);
  delete saved;
}

TEST(CRegException, IsThrownAsAPointerAndDeletedByTheCatcher)
{
  try {
    throw newRegExceptionWithPrefix(connectionFailureMessage, loadText(IDS_NO_CONNECT));
  } catch (CException* e) {
    char text[64];
    EXPECT_TRUE(e->GetErrorMessage(text, sizeof text));
    EXPECT_STREQ(text, "No connect parameter was specified. ");
    CRegException* reg = dynamic_cast<CRegException*>(e);
    ASSERT_NE(reg, nullptr);
    EXPECT_EQ(reg->messageId(), UINT{IDS_CONNECTION_FAILED});
    e->Delete();
  }
}

TEST(Diagnostics, WritesWholeLinesToStandardOutput)
{
  testing::internal::CaptureStdout();
  writeDiagnosticLine("Connection type: Direct");
  writeDiagnosticText("localhost:80");
  writeDiagnosticLine("/software");
  writeDiagnosticLine("");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Connection type: Direct\nlocalhost:80/software\n\n");
}
