#include "toolkit/core/mail.h"

#include <cstring>

namespace tk {
namespace {

struct MailTables {
    std::vector<MailRecipient> recipients;
    int recipientCount = 0;
    std::vector<MailAttachment> attachments;
    int attachmentCount = 0;
};

MailTables& tables() {
    static MailTables t;
    return t;
}

// A copy of the text as the caller's buffer holds it, up to its NUL.
std::string copyOf(const char* text, int bufferSize) {
    if (!text || bufferSize <= 0) return {};
    return std::string(text, strnlen(text, static_cast<std::size_t>(bufferSize)));
}

template <typename T>
T* entry(std::vector<T>& v, int index) {
    // Indices outside the table are ignored rather than written past it.
    return index >= 0 && static_cast<std::size_t>(index) < v.size()
               ? &v[static_cast<std::size_t>(index)]
               : nullptr;
}

}  // namespace

void MailRecipientsAllocate(int n) {
    MailTables& t = tables();
    t.recipients.assign(static_cast<std::size_t>(n > 1 ? n : 1), MailRecipient{});
    t.recipients[0].recipientClass = MailTo;
    t.recipientCount = n > 0 ? n : 0;
}

void MailRecipientNameSet(int index, const char* text, int bufferSize) {
    if (auto* r = entry(tables().recipients, index)) r->name = copyOf(text, bufferSize);
}

void MailRecipientAddressSet(int index, const char* text, int bufferSize) {
    if (auto* r = entry(tables().recipients, index)) r->address = copyOf(text, bufferSize);
}

void MailRecipientClassSet(int index, int recipientClass) {
    if (auto* r = entry(tables().recipients, index))
        r->recipientClass =
            recipientClass == MailCc || recipientClass == MailBcc ? recipientClass : MailTo;
}

void MailAttachmentsAllocate(int n) {
    MailTables& t = tables();
    t.attachments.assign(static_cast<std::size_t>(n > 0 ? n : 0), MailAttachment{});
    t.attachmentCount = n > 0 ? n : 0;
}

void MailAttachmentPathSet(int index, const char* path, int bufferSize) {
    if (auto* a = entry(tables().attachments, index)) a->path = copyOf(path, bufferSize);
}

void MailSend(int, int& result, int& mapiError, const char*, const char*) {
    // No mail client interface exists here; the tables stay for a retry.
    result = -1;
    mapiError = 0;
}

const std::vector<MailRecipient>& mailRecipients() {
    return tables().recipients;
}
int mailRecipientCount() {
    return tables().recipientCount;
}
const std::vector<MailAttachment>& mailAttachments() {
    return tables().attachments;
}
int mailAttachmentCount() {
    return tables().attachmentCount;
}

}  // namespace tk
