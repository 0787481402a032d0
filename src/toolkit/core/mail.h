#pragma once
// Handing a message with recipients and attachments to the desktop's mail
// client: the tables are kept as the caller fills them, and MailSend gives
// the message to the client through xdg-email, which opens its compose
// window with the recipients, copies, subject, text and attachments.

#include <string>
#include <vector>

namespace tk {

// 1 To, 2 Cc, 3 Bcc.
enum RecipientClass : int { MailTo = 1, MailCc = 2, MailBcc = 3 };
// Bit 1: show the client's dialog; bit 3: resolve the names first.
enum MailSendFlags : int { MailShowDialog = 1, MailResolveNames = 4 };
// The codes of a failed send.
enum MailError : int { MailFailure = 2, MailAttachmentNotFound = 11 };

struct MailRecipient {
    std::string name;
    std::string address;
    int recipientClass = 0;
};

struct MailAttachment {
    std::string path;
    int position = -1;  // no place in the note text
};

// Frees the previous table, makes max(n, 1) records and sets the count to n;
// the first record is a To recipient.
void MailRecipientsAllocate(int n);
void MailRecipientNameSet(int index, const char* text, int bufferSize);
void MailRecipientAddressSet(int index, const char* text, int bufferSize);
void MailRecipientClassSet(int index, int recipientClass);
void MailAttachmentsAllocate(int n);
void MailAttachmentPathSet(int index, const char* path, int bufferSize);
// result 0 handed over, -1 no mail client could be started, -2 the client
// failed (mapiError 11 for a missing attachment, else 2).
void MailSend(int flags, int& result, int& mapiError, const char* subject, const char* noteText);

// What the tables hold: the first `count` entries are the ones sent.
const std::vector<MailRecipient>& mailRecipients();
int mailRecipientCount();
const std::vector<MailAttachment>& mailAttachments();
int mailAttachmentCount();

}  // namespace tk
