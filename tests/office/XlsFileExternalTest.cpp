// Independent readers on our files and ours on everyone's: xlrd (after
// msoffcrypto decrypts) must see the same sheets and values as our reader,
// and olefile the expected compound-file structure.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

#include "office/XlsFile.h"
#include "support/TestSupport.h"

namespace {

using automation::Variant;
using office::WorkbookModel;

const char* const kPython = "/usr/bin/python3";

// For each "path password" pair: a "file" line, then one line per worksheet and per
// non-empty cell, in the same form as dump() below; --structure adds compound-file facts.
const char* const kDumpScript = R"PY(
import io, struct, sys
import msoffcrypto, olefile, xlrd

def esc(s):
    return s.replace('\\', '\\\\').replace('\n', '\\n').replace('\t', '\\t').replace('\r', '\\r')

def dump(data):
    book = xlrd.open_workbook(file_contents=data, logfile=sys.stderr)
    for sheet in book.sheets():
        print('sheet\t%s\t%d' % (esc(sheet.name), sheet.visibility))
        for r in range(sheet.nrows):
            for c in range(sheet.row_len(r)):
                t, v = sheet.cell_type(r, c), sheet.cell_value(r, c)
                if t == xlrd.XL_CELL_TEXT:
                    print('%d\t%d\ttext\t%s' % (r, c, esc(v)))
                elif t in (xlrd.XL_CELL_NUMBER, xlrd.XL_CELL_DATE):
                    print('%d\t%d\tnumber\t%s' % (r, c, struct.pack('<d', v).hex()))
                elif t == xlrd.XL_CELL_BOOLEAN:
                    print('%d\t%d\tbool\t%d' % (r, c, v))
                elif t == xlrd.XL_CELL_ERROR:
                    print('%d\t%d\terror\t%d' % (r, c, v))

args = sys.argv[1:]
structure = args[0] == '--structure'
if structure:
    args = args[1:]
for path, password in zip(args[0::2], args[1::2]):
    print('file\t%s' % path)
    data = open(path, 'rb').read()
    office = msoffcrypto.OfficeFile(io.BytesIO(data))
    if office.is_encrypted():
        office.load_key(password=password or 'VelvetSweatshop')
        clear = io.BytesIO()
        office.decrypt(clear)
        data = clear.getvalue()
    if structure:
        ole = olefile.OleFileIO(data)
        print('streams', ' '.join('/'.join(p) for p in ole.listdir()))
        stream = ole.openstream('Workbook').read()
        pos = 0
        while pos + 4 <= len(stream):
            pos += 4 + struct.unpack_from('<HH', stream, pos)[1]
        print('records fill the stream', pos == len(stream))
        print('sector size', ole.sector_size)
    dump(data)
)PY";

std::string escape(const std::string& s) {
    std::string out;
    for (char ch : s) {
        switch (ch) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default: out += ch;
        }
    }
    return out;
}

std::string numberBits(double v) {
    unsigned char b[8];
    std::memcpy(b, &v, 8);
    static const char* hex = "0123456789abcdef";
    std::string out;
    for (unsigned char x : b) out += {hex[x >> 4], hex[x & 15]};
    return out;
}

// Our model in the script's form: worksheets only (xlrd skips chart sheets).
std::string dump(const WorkbookModel& model) {
    std::ostringstream out;
    for (const auto& sheet : model.sheets) {
        if (sheet.kind != office::SheetKind::Worksheet) continue;
        out << "sheet\t" << escape(sheet.name) << "\t" << static_cast<int>(sheet.visibility) << "\n";
        for (std::size_t r = 0; r < sheet.rows.all().size(); ++r)
            for (std::size_t c = 0; c < sheet.rows.all()[r].cells.size(); ++c) {
                const office::CellValue& v = sheet.rows.all()[r].cells[c].value;
                std::string cell = std::to_string(r) + "\t" + std::to_string(c) + "\t";
                if (v.isText()) out << cell << "text\t" << escape(std::string(v.text())) << "\n";
                else if (v.isNumber()) out << cell << "number\t" << numberBits(v.number()) << "\n";
                else if (v.isBoolean()) out << cell << "bool\t" << (v.booleanValue() ? 1 : 0) << "\n";
                else if (v.isError()) out << cell << "error\t" << static_cast<int>(v.errorCode()) << "\n";
            }
    }
    return out.str();
}

class XlsFileExternal : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(kPython)) GTEST_SKIP() << "no " << kPython;
        if (std::system("/usr/bin/python3 -c 'import xlrd, olefile, msoffcrypto' >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "xlrd, olefile or msoffcrypto missing";
        std::ofstream(folder_.path() / "dump.py") << kDumpScript;
    }

    // The script's output per file, for several files in one run (the imports are slow).
    std::map<std::string, std::string> pythonDumps(const std::vector<std::pair<std::filesystem::path, std::string>>& files,
                                                   bool structure = false) {
        auto out = folder_.path() / "out.txt";
        auto err = folder_.path() / "err.txt";
        std::string command = std::string(kPython) + " '" + (folder_.path() / "dump.py").string() + "'" +
                              (structure ? " --structure" : "");
        for (const auto& [path, password] : files) command += " '" + path.string() + "' '" + password + "'";
        command += " > '" + out.string() + "' 2> '" + err.string() + "'";
        int status = std::system(command.c_str());
        std::stringstream errors;
        errors << std::ifstream(err).rdbuf();
        EXPECT_EQ(status, 0) << errors.str();
        std::map<std::string, std::string> dumps;
        std::ifstream text(out);
        std::string line, current;
        while (std::getline(text, line)) {
            if (line.rfind("file\t", 0) == 0) current = line.substr(5);
            else dumps[current] += line + "\n";
        }
        return dumps;
    }

    std::filesystem::path save(const std::vector<std::uint8_t>& bytes, const std::string& name) {
        auto path = folder_.path() / name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    testsupport::TempFolder folder_{"xls-external"};
};

WorkbookModel sampleModel() {
    WorkbookModel m = WorkbookModel::withDefaults();
    office::FontDef bold;
    bold.weight = 700;
    const std::uint16_t boldXf = m.xfWithFont(15, bold);
    const char* const names[] = {"Values", "Hidden \u00E9", "Deep \U0001F600", "Tail"};
    const office::SheetVisibility states[] = {office::SheetVisibility::Visible, office::SheetVisibility::Hidden,
                                              office::SheetVisibility::VeryHidden, office::SheetVisibility::Visible};
    std::mt19937 rng(7);
    for (int s = 0; s < 4; ++s) {
        office::SheetModel& sheet = m.sheets.emplace_back();
        sheet.name = names[s];
        sheet.visibility = states[s];
        for (int r = 1; r <= 40; ++r)
            for (int c = 1; c <= 6; ++c) {
                office::Cell& cell = sheet.cellAt(r, c);
                switch ((r + c + s) % 6) {
                case 0: cell.value = static_cast<double>(rng() % 100000) - 50000; break;
                case 1: cell.value = (static_cast<double>(rng() % 100000) - 50000) / 7.0; break;
                case 2: cell.value = "t" + std::to_string(rng() % 50) + " \u4E2D\U0001F600"; break;
                case 3: cell.value = office::CellValue::boolean(rng() % 2 == 0); break;
                case 4: cell.value = 1e300 / (1 + r); break;
                default: cell.xf = boldXf; break;  // formatted, no value
                }
            }
    }
    m.sheets[0].cellAt(41, 1).value = std::string(9000, 'x');                        // past one SST record
    std::string wide;
    for (int i = 0; i < 6000; ++i) wide += (i % 3 == 0) ? "\U0001F600" : "\u4E2D";  // 16-bit, split pairs
    m.sheets[0].cellAt(42, 1).value = wide;
    m.sheets[0].cellAt(43, 1).value = "";
    m.sheets[0].cellAt(43, 2).value = office::CellValue::error(0x07);
    m.activeSheet = 3;
    return m;
}

TEST_F(XlsFileExternal, XlrdReadsOurFilesInClearAndEncrypted) {
    const WorkbookModel model = sampleModel();
    const std::string expected = dump(model);
    ASSERT_NE(expected.find("sheet\tDeep \U0001F600\t2"), std::string::npos);

    auto clearFile = save(office::writeXls(model, ""), "clear.xls");
    auto encryptedFile = save(office::writeXls(model, "t\u00F6p secret"), "rc4.xls");
    auto dumps = pythonDumps({{clearFile, ""}, {encryptedFile, "t\u00F6p secret"}}, true);
    for (const auto& file : {clearFile, encryptedFile}) {
        SCOPED_TRACE(file.filename().string());
        const std::string& text = dumps[file.string()];
        EXPECT_EQ(text.rfind("streams Workbook\nrecords fill the stream True\nsector size 512\n", 0), 0u)
            << text.substr(0, 200);
        auto sheets = text.find("sheet\t");
        ASSERT_NE(sheets, std::string::npos);
        EXPECT_EQ(text.substr(sheets), expected);
    }
}

// Small workbooks (a new store is about 1 KB of records) once came padded
// with zeros that the decrypter read as records; every size must decrypt.
TEST_F(XlsFileExternal, SmallWorkbooksDecryptAndReadAtEverySize) {
    std::vector<std::pair<std::filesystem::path, std::string>> files;
    std::map<std::string, std::string> expected;
    for (int lines = 0; lines < 12; ++lines) {
        WorkbookModel model = WorkbookModel::withDefaults();
        office::SheetModel& start = model.sheets.emplace_back();
        start.name = "START";
        office::SheetModel& data = model.sheets.emplace_back();
        data.name = "DATA";
        data.visibility = office::SheetVisibility::VeryHidden;
        data.cellAt(1, 1).value = "Pos.";
        for (int r = 2; r < 2 + lines; ++r) {
            data.cellAt(r, 1).value = static_cast<double>(r - 1);
            data.cellAt(r, 2).value = std::string(static_cast<std::size_t>(r), 'g');
        }
        auto file = save(office::writeXls(model, "tv1957"), "small" + std::to_string(lines) + ".xls");
        files.push_back({file, "tv1957"});
        expected[file.string()] = dump(model);
    }
    auto dumps = pythonDumps(files, true);
    for (const auto& [file, password] : files) {
        SCOPED_TRACE(file.filename().string());
        const std::string& text = dumps[file.string()];
        EXPECT_EQ(text.rfind("streams Workbook\nrecords fill the stream True\n", 0), 0u) << text.substr(0, 200);
        auto sheets = text.find("sheet\t");
        ASSERT_NE(sheets, std::string::npos);
        EXPECT_EQ(text.substr(sheets), expected[file.string()]);
    }
}

TEST_F(XlsFileExternal, OurReaderAgreesWithXlrdOnSamples) {
    std::vector<std::pair<std::filesystem::path, std::string>> files;
    for (const char* name : {"budget.xls", "veryhidden.xls", "protected.xls", "macro_lo.xls"})
        files.push_back({testsupport::testData(name), ""});
    files.push_back({testsupport::testData("locked.xls"), "ab1234"});
    const std::map<std::string, std::string> passwords = {
        {"poi_password.xls", "password"},
        {"sheetjs_password_2002_40_basecrypto.xls", "password"},
        {"sheetjs_password_2002_128_strong.xls", "password"},
        {"msoffcrypto_rc4cryptoapi_password.xls", "Password1234_"},
    };
    auto reference = testsupport::sharedSample("reference");
    if (std::filesystem::exists(reference))
        for (const auto& entry : std::filesystem::directory_iterator(reference))
            if (entry.path().extension() == ".xls") {
                auto it = passwords.find(entry.path().filename().string());
                files.push_back({entry.path(), it == passwords.end() ? "" : it->second});
            }
    auto dumps = pythonDumps(files);
    for (const auto& [path, password] : files) {
        SCOPED_TRACE(path.filename().string());
        EXPECT_EQ(dump(office::readXlsFile(path.string(), password)), dumps[path.string()]);
    }
}

}  // namespace
