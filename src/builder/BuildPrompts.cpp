#include "builder/BuildPrompts.h"

#include "builder/BuildPresentation.h"
#include "core/Text.h"
#include "text/Utf.h"

namespace builder {

namespace {

constexpr std::size_t kMaxVersionLength = 60;
const char* const kForbidden = "\\/:*?\"<>|";

// Shows the prompt until `complaint` accepts the trimmed answer; a rejected
// answer comes back as the default text under its complaint.
template <typename Complaint>
std::string askUntilAccepted(core::Context& ctx, std::string prompt, Complaint complaint, bool emptyEnds) {
    std::string suggestion;
    for (;;) {
        std::string answer = core::Trim(ctx.windows.inputBox(prompt, suggestion));
        suggestion = answer;
        if (answer.empty() && emptyEnds) return answer;
        std::string problem = complaint(answer);
        if (problem.empty()) return answer;
        prompt = std::move(problem);
    }
}

}  // namespace

std::string VersionComplaint(const core::Context& ctx, const std::string& version) {
    if (core::HasForbiddenNameCharacter(version))
        return ctx.tr("A Presentation Version does not contains the following characters: ",
                      "Una Versione della Presentazione non puo' contenere i seguenti caratteri: ") +
               kForbidden;
    if (text::characterCount(version) > kMaxVersionLength)
        return ctx.tr("Greater than 60 characters!", "Maggiore di 60 caratteri!");
    return {};
}

std::string PasswordComplaint(const core::Context& ctx, const std::string& password) {
    if (core::HasForbiddenNameCharacter(password))
        return ctx.tr("The password does not contains the following characters: ",
                      "La password non puo' contenere i seguenti caratteri: ") +
               kForbidden;
    return {};
}

std::optional<std::string> AskVersion(core::Context& ctx) {
    const std::string request =
        ctx.tr("Fill in with the Presentation Version\r\r(It will be the Presentation subtitle and the second part "
               "of the Presentation filename)",
               "Inserisci la Versione della Presentazione\r\r(Sara' il sottotitolo della Presentazione e la seconda "
               "parte del nome del file)");
    std::string version = askUntilAccepted(
        ctx, request, [&](const std::string& answer) { return VersionComplaint(ctx, answer); }, true);
    if (version.empty()) return std::nullopt;
    return version;
}

std::string AskPassword(core::Context& ctx) {
    const std::string request = ctx.tr("Fill in with an optional password to protect the Presentation",
                                       "Inserisci una password opzionale per proteggere la Presentazione");
    return askUntilAccepted(
        ctx, request, [&](const std::string& answer) { return PasswordComplaint(ctx, answer); }, true);
}

}  // namespace builder
