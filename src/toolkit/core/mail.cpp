#include "toolkit/core/mail.h"

#include <strings.h>
#include <array>
#include <cstring>

#include "base/cp1252.h"
#include "platform/kernel/files.h"
#include "toolkit/core/os_wrappers.h"

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

namespace {

// xdg-email's answer when no mail client (or tool it needs) can be found.
constexpr int kNoMailClient = 3;
constexpr int kFileNotFound = 2;

// "Name <address>", or whichever of the two is given; an "SMTP:" prefix of
// the address is the mail system's, not the address's.
std::string recipientText(const MailRecipient& r) {
    std::string address = r.address;
    if (address.size() > 5 && ::strncasecmp(address.c_str(), "SMTP:", 5) == 0) address.erase(0, 5);
    if (address.empty()) return r.name;
    if (r.name.empty() || r.name == address) return address;
    return r.name + " <" + address + ">";
}

// Attachments go to the client as full paths of this system.
std::string hostFile(const std::string& path) {
    std::array<char, 4096> full{};
    const win::DWORD n = win::GetFullPathNameA(path.c_str(), static_cast<win::DWORD>(full.size()),
                                               full.data(), nullptr);
    return n > 0 && n < full.size() ? std::string(full.data(), n) : path;
}

std::vector<std::string> emailArguments(const char* subject, const char* noteText) {
    const MailTables& t = tables();
    std::vector<std::string> argv{"xdg-email", "--utf8"};
    std::vector<std::string> to;
    for (int i = 0; i < t.recipientCount && i < static_cast<int>(t.recipients.size()); ++i) {
        const MailRecipient& r = t.recipients[static_cast<std::size_t>(i)];
        const std::string text = base::cp1252ToUtf8(recipientText(r));
        if (text.empty()) continue;
        if (r.recipientClass == MailCc || r.recipientClass == MailBcc) {
            argv.push_back(r.recipientClass == MailCc ? "--cc" : "--bcc");
            argv.push_back(text);
        } else {
            to.push_back(text);
        }
    }
    if (subject && *subject) argv.insert(argv.end(), {"--subject", base::cp1252ToUtf8(subject)});
    if (noteText && *noteText) argv.insert(argv.end(), {"--body", base::cp1252ToUtf8(noteText)});
    for (int i = 0; i < t.attachmentCount && i < static_cast<int>(t.attachments.size()); ++i) {
        const std::string& path = t.attachments[static_cast<std::size_t>(i)].path;
        if (!path.empty()) argv.insert(argv.end(), {"--attach", hostFile(path)});
    }
    argv.insert(argv.end(), to.begin(), to.end());
    return argv;
}

}  // namespace

void MailSend(int, int& result, int& mapiError, const char* subject, const char* noteText) {
    // The client always shows its compose window, where recipients can be
    // added, and finds addresses itself; both flags are therefore met.
    std::array<char, 261> directory{};
    const win::DWORD kept =
        win::GetCurrentDirectoryA(static_cast<win::DWORD>(directory.size()), directory.data());
    int started = 0, exitCode = 0;
    Win32RunProgram(emailArguments(subject, noteText), started, exitCode);
    if (kept > 0 && kept < directory.size()) win::SetCurrentDirectoryA(directory.data());
    mapiError = 0;
    if (started != 32 || exitCode == kNoMailClient) {
        result = -1;
    } else if (exitCode != 0) {
        result = -2;
        mapiError = exitCode == kFileNotFound ? MailAttachmentNotFound : MailFailure;
    } else {
        result = 0;
    }
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
