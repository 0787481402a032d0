#include "toolkit/core/mail.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "core_test_support.h"

namespace tk {
namespace {

// A stand-in for the desktop's xdg-email on PATH: it writes its arguments,
// one per NUL, to $PELK_MAIL_ARGS and ends with $PELK_MAIL_EXIT.
class MailTest : public test::CoreTest {
  protected:
    test::TempDir dir;
    std::string bin = dir.file("bin");
    test::EnvVar path{"PATH", bin.c_str()};
    test::EnvVar args{"PELK_MAIL_ARGS", dir.file("args").c_str()};

    void SetUp() override {
        CoreTest::SetUp();
        std::filesystem::create_directory(bin);
        test::writeFile(bin + "/xdg-email",
                        "#!/bin/sh\n"
                        "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$PELK_MAIL_ARGS\"\n"
                        "exit ${PELK_MAIL_EXIT:-0}\n");
        ::chmod((bin + "/xdg-email").c_str(), 0755);
    }
    std::vector<std::string> recorded() const {
        std::vector<std::string> out;
        const std::string all = test::readFile(dir.file("args"));
        for (std::size_t start = 0, end; (end = all.find('\0', start)) != std::string::npos;
             start = end + 1)
            out.push_back(all.substr(start, end - start));
        return out;
    }
    static void send(int& result, int& error) {
        result = error = 5;
        MailSend(MailShowDialog | MailResolveNames, result, error, "Model \xe9t\xe9",
                 "See the\nmodel.");
    }
};

TEST_F(MailTest, TablesKeepWhatIsSet) {
    MailRecipientsAllocate(0);
    EXPECT_EQ(mailRecipients().size(), 1u);
    EXPECT_EQ(mailRecipientCount(), 0);
    EXPECT_EQ(mailRecipients()[0].recipientClass, MailTo);

    MailRecipientsAllocate(2);
    MailRecipientNameSet(0, "Ann", 4);
    MailRecipientAddressSet(1, "bob@example.org", 16);
    MailRecipientClassSet(1, MailBcc);
    MailRecipientClassSet(0, 9);
    MailRecipientNameSet(5, "ignored", 8);
    EXPECT_EQ(mailRecipients()[0].name, "Ann");
    EXPECT_EQ(mailRecipients()[0].recipientClass, MailTo);
    EXPECT_EQ(mailRecipients()[1].address, "bob@example.org");
    EXPECT_EQ(mailRecipients()[1].recipientClass, MailBcc);

    MailAttachmentsAllocate(1);
    MailAttachmentPathSet(0, "/tmp/model.tqm", 15);
    EXPECT_EQ(mailAttachments()[0].path, "/tmp/model.tqm");
    EXPECT_EQ(mailAttachments()[0].position, -1);
    MailAttachmentsAllocate(0);
    EXPECT_EQ(mailAttachmentCount(), 0);
    EXPECT_TRUE(mailAttachments().empty());
}

TEST_F(MailTest, TheMessageGoesToTheMailClient) {
    MailRecipientsAllocate(4);
    MailRecipientNameSet(0, "Ann Lee", 8);
    MailRecipientAddressSet(0, "SMTP:ann@example.org", 21);
    MailRecipientAddressSet(1, "bob@example.org", 16);
    MailRecipientClassSet(1, MailCc);
    MailRecipientNameSet(2, "Carl", 5);
    MailRecipientClassSet(2, MailBcc);
    MailRecipientAddressSet(3, "dan@example.org", 16);
    MailAttachmentsAllocate(1);
    test::writeFile(dir.file("site.tqm"), "x");
    MailAttachmentPathSet(0, "site.tqm", 9);
    int result = 0, error = 0;
    send(result, error);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(recorded(),
              (std::vector<std::string>{"--utf8", "--cc", "bob@example.org", "--bcc", "Carl",
                                        "--subject", "Model \xc3\xa9t\xc3\xa9", "--body",
                                        "See the\nmodel.", "--attach", dir.file("site.tqm"),
                                        "Ann Lee <ann@example.org>", "dan@example.org"}));
    EXPECT_EQ(std::filesystem::current_path(), dir.path());

    // No recipients: the client's window opens for the user to fill in.
    MailRecipientsAllocate(0);
    MailAttachmentsAllocate(0);
    send(result, error);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(recorded(),
              (std::vector<std::string>{"--utf8", "--subject", "Model \xc3\xa9t\xc3\xa9", "--body",
                                        "See the\nmodel."}));
}

TEST_F(MailTest, FailuresOfTheClientAndAMissingClient) {
    MailRecipientsAllocate(1);
    MailRecipientAddressSet(0, "ann@example.org", 16);
    struct Case {
        const char* exit;
        int result, error;
    };
    for (const Case& c :
         {Case{"3", -1, 0}, {"2", -2, MailAttachmentNotFound}, {"4", -2, MailFailure}}) {
        test::EnvVar code("PELK_MAIL_EXIT", c.exit);
        int result = 0, error = 0;
        send(result, error);
        EXPECT_EQ(result, c.result) << c.exit;
        EXPECT_EQ(error, c.error) << c.exit;
    }
    test::EnvVar nowhere("PATH", dir.file("empty").c_str());
    int result = 0, error = 0;
    send(result, error);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(std::filesystem::current_path(), dir.path());
    EXPECT_EQ(mailRecipientCount(), 1);  // kept for a retry
}

}  // namespace
}  // namespace tk
