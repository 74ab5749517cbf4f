#include "builder/DocumentEmbedding.h"

namespace builder {

// Until the engine writes embedded objects, every such line is canceled with
// a message saying why, so a build still carries its Excel lines.
void EmbedDocument(core::Context& ctx, automation::excel::Workbook&, const std::string& fileName, long,
                   const automation::Variant&, const automation::Variant&, const std::string& description,
                   int& LineStatus) {
    const char cr = '\r';
    ctx.msgBox(std::string("Error!!!!") + cr + "1004    Embedding documents is not available in this version." + cr +
               "Filename: " + fileName + cr + "Line description: " + description + "  (canceled!)");
    LineStatus = 1;
}

}  // namespace builder
