// Hiding a shape in its OfficeArt bytes: the property lands in the right
// place (among the simple properties, before complex data; in a new OPT
// when there is none; in the group's own shape), every container around it
// grows by as much, and showing again clears the flag without growing.
#include <gtest/gtest.h>

#include "office/biff/OfficeArt.h"

namespace {

namespace art = office::biff::art;
using Bytes = std::vector<std::uint8_t>;

struct Property {
    std::uint16_t id;
    std::uint32_t value;
};

// A shape container: FSP, optionally OPT (with `complex` data after its
// entries), and a client anchor.
Bytes shapeContainer(const std::vector<Property>* properties, const Bytes& complex = {}) {
    Bytes out;
    const std::size_t container = art::appendHeader(out, 0xF, 0, art::kSpContainer, 0);
    art::appendHeader(out, 2, art::kPictureFrame, art::kFsp, 8);
    out.resize(out.size() + 8);
    if (properties) {
        art::appendHeader(out, 3, static_cast<std::uint16_t>(properties->size()), art::kOpt,
                          static_cast<std::uint32_t>(6 * properties->size() + complex.size()));
        for (const Property& p : *properties) {
            out.resize(out.size() + 6);
            art::putU16(out, out.size() - 6, p.id);
            art::putU32(out, out.size() - 4, p.value);
        }
        out.insert(out.end(), complex.begin(), complex.end());
    }
    art::appendHeader(out, 0, 0, art::kClientAnchor, art::kClientAnchorSize);
    out.resize(out.size() + art::kClientAnchorSize);
    art::patchLength(out, container);
    return out;
}

// The shape's OPT records, each checked against its container on the way.
std::vector<art::ArtRecord> optsOf(const Bytes& shape) {
    std::vector<art::ArtRecord> opts;
    art::walk(shape, 0, shape.size(), 0, [&](const art::ArtRecord& r) {
        if (r.type == art::kOpt) opts.push_back(r);
    });
    return opts;
}

std::vector<std::uint16_t> idsOf(const Bytes& shape, const art::ArtRecord& opt) {
    std::vector<std::uint16_t> ids;
    for (std::size_t i = 0; i < opt.instance; ++i)
        ids.push_back(art::readU16(shape, opt.body() + 6 * i) & art::kPropertyIdMask);
    return ids;
}

TEST(ShapeHidden, ThePropertyJoinsTheSimpleOnesInOrderBeforeComplexData) {
    const std::vector<Property> properties{{0x0104 | art::kPropertyIsBlip, 1},
                                           {0x0380 | art::kPropertyComplex, 4},  // a name, 4 bytes of data
                                           {0x03FF, 0x00080008}};
    const Bytes complex{'A', 0, 'B', 0};
    Bytes shape = shapeContainer(&properties, complex);
    const std::size_t before = shape.size();

    const art::Insertion grown = art::setShapeHidden(shape, true);
    EXPECT_EQ(grown.count, 6u);
    ASSERT_EQ(shape.size(), before + 6);
    const auto opts = optsOf(shape);  // walking checks every container's new length
    ASSERT_EQ(opts.size(), 1u);
    EXPECT_EQ(idsOf(shape, opts[0]), (std::vector<std::uint16_t>{0x0104, 0x0380, 0x03BF, 0x03FF}));
    EXPECT_EQ(grown.offset, opts[0].body() + 12);
    EXPECT_TRUE(art::isHidden(art::propertyValue(shape, opts[0], art::kPropertyGroupBooleans)));
    EXPECT_EQ(Bytes(shape.begin() + static_cast<std::ptrdiff_t>(opts[0].end() - 4),
                    shape.begin() + static_cast<std::ptrdiff_t>(opts[0].end())),
              complex);
    EXPECT_EQ(art::recordAt(shape, 0, shape.size(), 0).length, shape.size() - art::kHeaderSize);

    // Hidden again: nothing grows. Shown: the use bit stays, the flag goes.
    EXPECT_EQ(art::setShapeHidden(shape, true).count, 0u);
    EXPECT_EQ(art::setShapeHidden(shape, false).count, 0u);
    ASSERT_EQ(shape.size(), before + 6);
    const std::uint32_t shown = art::propertyValue(shape, optsOf(shape)[0], art::kPropertyGroupBooleans);
    EXPECT_FALSE(art::isHidden(shown));
    EXPECT_EQ(shown, art::kGroupUseHidden);
}

TEST(ShapeHidden, OtherBitsOfAnExistingPropertyStay) {
    const std::vector<Property> properties{{art::kPropertyGroupBooleans, 0x00080008}};  // Excel's "print" bits
    Bytes shape = shapeContainer(&properties);
    const Bytes original = shape;
    EXPECT_EQ(art::setShapeHidden(shape, true).count, 0u);
    EXPECT_EQ(art::propertyValue(shape, optsOf(shape)[0], art::kPropertyGroupBooleans),
              0x00080008u | art::kGroupUseHidden | art::kGroupHidden);
    Bytes plain = shapeContainer(nullptr);
    const Bytes plainBefore = plain;
    EXPECT_EQ(art::setShapeHidden(plain, false).count, 0u);  // shown needs no property
    EXPECT_EQ(plain, plainBefore);
}

TEST(ShapeHidden, AGroupIsHiddenThroughItsOwnShapeWhichMayLackAnOpt) {
    Bytes group;
    const std::size_t length = art::appendHeader(group, 0xF, 0, art::kSpgrContainer, 0);
    const Bytes own = shapeContainer(nullptr);
    const std::vector<Property> memberProperties{{0x0104 | art::kPropertyIsBlip, 2}};
    const Bytes member = shapeContainer(&memberProperties);
    group.insert(group.end(), own.begin(), own.end());
    group.insert(group.end(), member.begin(), member.end());
    art::patchLength(group, length);

    const art::Insertion grown = art::setShapeHidden(group, true);
    EXPECT_EQ(grown.count, art::kHeaderSize + 6);
    EXPECT_EQ(grown.offset, art::kHeaderSize + art::kHeaderSize + art::kHeaderSize + 8);  // after the FSP
    const auto opts = optsOf(group);
    ASSERT_EQ(opts.size(), 2u);
    EXPECT_TRUE(art::isHidden(art::propertyValue(group, opts[0], art::kPropertyGroupBooleans)));
    EXPECT_FALSE(art::isHidden(art::propertyValue(group, opts[1], art::kPropertyGroupBooleans)));
    EXPECT_EQ(art::propertyValue(group, opts[1], 0x0104), 2u) << "the member is untouched";
}

}  // namespace
