#include "toolkit/core/mail.h"

#include <gtest/gtest.h>

#include "core_test_support.h"

namespace tk {
namespace {

class MailTest : public test::CoreTest {};

TEST_F(MailTest, TablesKeepWhatIsSetAndSendingAnswersNoClient) {
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

    test::TempDir dir;
    int result = 5, error = 5;
    MailSend(MailShowDialog | MailResolveNames, result, error, "subject", "note");
    EXPECT_EQ(result, -1);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(std::filesystem::current_path(), dir.path());
    EXPECT_EQ(mailRecipientCount(), 2);  // kept for a retry
}

}  // namespace
}  // namespace tk
