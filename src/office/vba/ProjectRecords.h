#pragma once
// Record ids of a project's `dir` stream (MS-OVBA 2.3.4.2) and the fixed
// texts of its PROJECT stream, shared by the writer and the reader.
#include <cstdint>
#include <string_view>

namespace office::vba::rec {

// Project information.
constexpr std::uint16_t kSysKind = 0x0001;
constexpr std::uint16_t kLcid = 0x0002;
constexpr std::uint16_t kCodePage = 0x0003;
constexpr std::uint16_t kName = 0x0004;
constexpr std::uint16_t kDocString = 0x0005;
constexpr std::uint16_t kHelpFilePath = 0x0006;
constexpr std::uint16_t kHelpContext = 0x0007;
constexpr std::uint16_t kLibFlags = 0x0008;
constexpr std::uint16_t kVersion = 0x0009;  // its size field says 4, six bytes follow
constexpr std::uint16_t kConstants = 0x000C;
constexpr std::uint16_t kLcidInvoke = 0x0014;
constexpr std::uint16_t kCompatVersion = 0x004A;
constexpr std::uint16_t kDocStringUnicode = 0x0040;
constexpr std::uint16_t kHelpFilePath2 = 0x003D;
constexpr std::uint16_t kConstantsUnicode = 0x003C;

// References.
constexpr std::uint16_t kReferenceName = 0x0016;
constexpr std::uint16_t kReferenceNameUnicode = 0x003E;
constexpr std::uint16_t kReferenceRegistered = 0x000D;
constexpr std::uint16_t kReferenceProject = 0x000E;
constexpr std::uint16_t kReferenceOriginal = 0x0033;
constexpr std::uint16_t kReferenceControl = 0x002F;
constexpr std::uint16_t kReferenceControlExtended = 0x0030;

// Modules.
constexpr std::uint16_t kModules = 0x000F;
constexpr std::uint16_t kProjectCookie = 0x0013;
constexpr std::uint16_t kModuleName = 0x0019;
constexpr std::uint16_t kModuleNameUnicode = 0x0047;
constexpr std::uint16_t kModuleStreamName = 0x001A;
constexpr std::uint16_t kModuleStreamNameUnicode = 0x0032;
constexpr std::uint16_t kModuleDocString = 0x001C;
constexpr std::uint16_t kModuleDocStringUnicode = 0x0048;
constexpr std::uint16_t kModuleOffset = 0x0031;
constexpr std::uint16_t kModuleHelpContext = 0x001E;
constexpr std::uint16_t kModuleCookie = 0x002C;
constexpr std::uint16_t kModuleProcedural = 0x0021;
constexpr std::uint16_t kModuleNonProcedural = 0x0022;
constexpr std::uint16_t kModuleReadOnly = 0x0025;
constexpr std::uint16_t kModulePrivate = 0x0028;
constexpr std::uint16_t kModuleTerminator = 0x002B;
constexpr std::uint16_t kDirTerminator = 0x0010;

constexpr std::uint32_t kSysKindWin32 = 1;
constexpr std::uint32_t kLcidEnglishUs = 0x0409;
constexpr std::uint16_t kCookie = 0xFFFF;  // "MUST be 0xFFFF on write"

}  // namespace office::vba::rec

namespace office::vba::layout {

constexpr std::string_view kStreamProject = "PROJECT";
constexpr std::string_view kStreamProjectWm = "PROJECTwm";
constexpr std::string_view kStorageVba = "VBA";
constexpr std::string_view kStreamDir = "dir";
constexpr std::string_view kStreamVbaProject = "_VBA_PROJECT";
constexpr std::string_view kStreamCompObj = "\x01" "CompObj";
constexpr std::string_view kStreamVbFrame = "\x03" "VBFrame";
constexpr std::string_view kStreamForm = "f";
constexpr std::string_view kStreamObjects = "o";

// The class id of the Forms designer, on the Package line and in VBFrame.
constexpr std::string_view kFormsPackage = "{AC9F2F90-E877-11CE-9F68-00AA00574A4F}";
constexpr std::string_view kUserFormClass = "{C62A69F0-16DC-11CE-9E98-00AA00574A4F}";

}  // namespace office::vba::layout
