#include "office/biff/PictureStore.h"

#include <algorithm>

#include "office/biff/BiffErrors.h"
#include "office/biff/BiffRecords.h"
#include "office/biff/OfficeArt.h"
#include "office/crypto/Crypto.h"

namespace office::biff {
namespace {

constexpr std::size_t kFbseFixed = 36;      // FBSE body before its name and blip
constexpr std::uint16_t kPngInstance = 0x6E0;
constexpr std::uint8_t kBlipTag = 0xFF;

StoredPicture readEntry(std::span<const std::uint8_t> data, const art::ArtRecord& fbse, std::uint64_t streamOffset) {
    if (fbse.length < kFbseFixed) throwDamaged("a picture store entry is too short", streamOffset + fbse.offset);
    const std::size_t body = fbse.body();
    StoredPicture picture;
    picture.type = static_cast<BlipType>(data[body]);
    picture.macType = data[body + 1];
    std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(body + 2), 16, picture.uid.begin());
    const std::size_t nameLength = data[body + 33];
    if (nameLength > fbse.length - kFbseFixed) throwDamaged("a picture name runs past its entry", streamOffset + body);
    const auto name = data.subspan(body + kFbseFixed, nameLength);
    picture.name.assign(name.begin(), name.end());
    // The picture itself follows inside the entry; entries kept elsewhere have none.
    const std::size_t blipStart = body + kFbseFixed + nameLength;
    if (blipStart < fbse.end()) {
        const art::ArtRecord blip = art::recordAt(data, blipStart, fbse.end(), streamOffset);
        if (blip.type < art::kFirstBlip || blip.type > art::kLastBlip)
            throwDamaged("a picture store entry holds no picture", streamOffset + blipStart);
        const auto bytes = data.subspan(blip.offset, blip.end() - blip.offset);
        picture.blip.assign(bytes.begin(), bytes.end());
    }
    return picture;
}

void appendU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    const std::size_t at = out.size();
    out.resize(at + 4);
    art::putU32(out, at, value);
}

void appendEntry(std::vector<std::uint8_t>& out, const StoredPicture& picture, std::uint32_t references) {
    const std::size_t length = kFbseFixed + picture.name.size() + picture.blip.size();
    art::appendHeader(out, 2, static_cast<std::uint8_t>(picture.type), art::kFbse, static_cast<std::uint32_t>(length));
    out.push_back(static_cast<std::uint8_t>(picture.type));
    out.push_back(picture.macType);
    out.insert(out.end(), picture.uid.begin(), picture.uid.end());
    out.push_back(kBlipTag);
    out.push_back(0);
    appendU32(out, static_cast<std::uint32_t>(picture.blip.size()));
    appendU32(out, references);
    appendU32(out, 0);  // offset in a delay stream: the picture is right here
    out.push_back(0);
    out.push_back(static_cast<std::uint8_t>(picture.name.size()));
    out.push_back(0);
    out.push_back(0);
    out.insert(out.end(), picture.name.begin(), picture.name.end());
    out.insert(out.end(), picture.blip.begin(), picture.blip.end());
}

}  // namespace

std::vector<StoredPicture> readPictureStore(std::span<const std::uint8_t> data, std::uint64_t streamOffset) {
    std::vector<StoredPicture> pictures;
    if (data.empty()) return pictures;
    const art::ArtRecord group = art::recordAt(data, 0, data.size(), streamOffset);
    if (group.type != art::kDggContainer || !group.isContainer())
        throwDamaged("the drawing group does not start with its container", streamOffset);
    for (const art::ArtRecord& part : art::children(data, group.body(), group.end(), streamOffset)) {
        if (part.type != art::kBStoreContainer) continue;
        for (const art::ArtRecord& entry : art::children(data, part.body(), part.end(), streamOffset))
            if (entry.type == art::kFbse) pictures.push_back(readEntry(data, entry, streamOffset));
    }
    return pictures;
}

void writeDrawingGroup(RecordWriter& out, const ShapeIdPlan& plan, const std::vector<StoredPicture>& pictures,
                       const std::vector<std::uint32_t>& references) {
    std::vector<std::uint8_t> data;
    const std::size_t groupLength = art::appendHeader(data, 0xF, 0, art::kDggContainer, 0);
    const std::vector<std::uint8_t> fdgg = plan.fdggBody();
    art::appendHeader(data, 0, 0, art::kFdgg, static_cast<std::uint32_t>(fdgg.size()));
    data.insert(data.end(), fdgg.begin(), fdgg.end());
    if (!pictures.empty()) {
        const std::size_t storeLength =
            art::appendHeader(data, 0xF, static_cast<std::uint16_t>(pictures.size()), art::kBStoreContainer, 0);
        for (std::size_t i = 0; i < pictures.size(); ++i)
            appendEntry(data, pictures[i], i < references.size() ? references[i] : 0);
        art::patchLength(data, storeLength);
    }
    // The default text, fill and line properties of new shapes, as Excel writes them.
    static const std::uint8_t defaults[] = {0xBF, 0x00, 0x08, 0x00, 0x08, 0x00, 0x81, 0x01, 0x41, 0x00,
                                            0x00, 0x08, 0xC0, 0x01, 0x40, 0x00, 0x00, 0x08};
    art::appendHeader(data, 3, 3, art::kOpt, sizeof defaults);
    data.insert(data.end(), std::begin(defaults), std::end(defaults));
    static const std::uint8_t menuColors[] = {0x0D, 0x00, 0x00, 0x08, 0x0C, 0x00, 0x00, 0x08,
                                              0x17, 0x00, 0x00, 0x08, 0xF7, 0x00, 0x00, 0x10};
    art::appendHeader(data, 0, 4, art::kSplitMenuColors, sizeof menuColors);
    data.insert(data.end(), std::begin(menuColors), std::end(menuColors));
    art::patchLength(data, groupLength);
    writeContinued(out, rec::kMsoDrawingGroup, data);
}

StoredPicture pngPicture(std::span<const std::uint8_t> png) {
    StoredPicture picture;
    picture.type = BlipType::Png;
    picture.macType = static_cast<std::uint8_t>(BlipType::Png);
    picture.uid = crypto::md5(png);  // readers take any 16 bytes that name the picture
    art::appendHeader(picture.blip, 0, kPngInstance, art::kBlipPng, static_cast<std::uint32_t>(16 + 1 + png.size()));
    picture.blip.insert(picture.blip.end(), picture.uid.begin(), picture.uid.end());
    picture.blip.push_back(kBlipTag);
    picture.blip.insert(picture.blip.end(), png.begin(), png.end());
    return picture;
}

void writeContinued(RecordWriter& out, std::uint16_t id, std::span<const std::uint8_t> data) {
    std::size_t at = 0;
    do {
        const std::size_t size = std::min(rec::kMaxBody, data.size() - at);
        out.record(at == 0 ? id : rec::kContinue, data.subspan(at, size));
        at += size;
    } while (at < data.size());
}

}  // namespace office::biff
