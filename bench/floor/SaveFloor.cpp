// The least any save of an encrypted store costs, without reading a cell or
// writing a record: the file read, its Workbook stream found in the compound
// file and decrypted, then encrypted again 64 KB at a time (with a new salt,
// as a save does) into a temporary file that is synced and renamed over
// OUTPUT. The engine's own pieces, with the store tool's memory settings and
// static runtime. Without OUTPUT it stops after the decryption: the least
// any command that reads the store costs. Timed from outside
// (bench/machine_floor.sh), as a whole process: a store command's CPU time
// less this is the work of the command.
//   tavolex_save_floor STORE PASSWORD [OUTPUT]
#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "office/biff/BiffRecords.h"
#include "office/biff/RecordCipher.h"
#include "office/biff/RecordReader.h"
#include "office/cfb/CompoundFile.h"
#include "office/crypto/Crypto.h"
#include "office/engine/AtomicFile.h"
#include "office/io/FreshMemory.h"
#include "platform/ProcessMemory.h"

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s STORE PASSWORD [OUTPUT]\n", argv[0]);
        return 2;
    }
    platform::KeepFreedMemoryForReuse();
    office::io::setHeapPreparer([](std::size_t bytes) { platform::PrefaultHeap(bytes); });
    try {
        namespace biff = office::biff;
        office::engine::FileContents contents = office::engine::readWholeFile(argv[1]);
        office::cfb::Node root = office::cfb::readCompoundFile(std::move(contents.bytes), "Workbook");
        office::cfb::Node* workbook = root.child("Workbook");
        if (!workbook) throw std::runtime_error("no Workbook stream");
        std::vector<std::uint8_t> stream = std::move(workbook->data);
        biff::RecordReader reader(stream);
        biff::Record record;
        while (reader.next(record) && record.id != biff::rec::kFilePass) {}
        if (record.id != biff::rec::kFilePass) throw std::runtime_error("the store is not encrypted");
        auto cipher = office::crypto::openFilePass(record.body, argv[2]);
        biff::applyRecordCipherInPlace(stream, reader.position(), *cipher);
        if (argc == 3) return stream.empty() ? 1 : 0;

        office::crypto::NewFilePass newPass = office::crypto::makeRc4FilePass(argv[2]);
        biff::RecordEncrypter encrypter(stream, reader.position(), *newPass.cipher);
        std::vector<std::uint8_t> piece;
        office::engine::writeFileAtomically(argv[3], [&](const office::engine::BytesPut& put) {
            for (std::size_t at = 0; at < stream.size(); at += 65536) {
                const std::size_t size = std::min<std::size_t>(65536, stream.size() - at);
                piece.assign(stream.begin() + static_cast<std::ptrdiff_t>(at),
                             stream.begin() + static_cast<std::ptrdiff_t>(at + size));
                encrypter.apply(piece, at);
                put(piece);
            }
        });
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
