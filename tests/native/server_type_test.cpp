#include "app/server_type.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace selvane {
namespace {

namespace fs = std::filesystem;

// The program joins "\ORNA.mdb" to the application folder; on Linux that
// backslash is part of a file name, so a sample is laid out as the file
// "<folder>\ORNA.mdb" next to the folder name, and the exact path the
// program builds is the one the driver opens.
class ProductFolder {
public:
    explicit ProductFolder(const std::string& leaf = "app") {
        std::random_device random;
        root_ = fs::temp_directory_path() / ("selvane-db-" + std::to_string(random()));
        fs::create_directories(root_);
        folder_ = (root_ / leaf).string();
    }
    ~ProductFolder() { fs::remove_all(root_); }
    ProductFolder(const ProductFolder&) = delete;
    ProductFolder& operator=(const ProductFolder&) = delete;

    ProductFolder& With(const std::string& sample) {
        fs::copy_file(fs::path(SELVANE_TEST_DATA) / sample, folder_ + "\\ORNA.mdb");
        return *this;
    }
    const std::string& folder() const { return folder_; }

private:
    fs::path root_;
    std::string folder_;
};

TEST(ServerType, ConnectionStringIsExactlyTheProductsOne) {
    EXPECT_EQ(BuildConnectionString("C:\\Selvane"),
              "Driver={Microsoft Access Driver (*.mdb)};DBQ=C:\\Selvane\\ORNA.mdb;"
              "UID=admin;PWD=Qm4rVx8LpT2wNc6HsZkA");
    EXPECT_EQ(BuildConnectionString("C:\\"),
              "Driver={Microsoft Access Driver (*.mdb)};DBQ=C:\\\\ORNA.mdb;"
              "UID=admin;PWD=Qm4rVx8LpT2wNc6HsZkA");
}

TEST(ServerType, FieldTextConvertsLikeA16BitInteger) {
    EXPECT_EQ(ToServerTypeValue("2"), 2);
    EXPECT_EQ(ToServerTypeValue(" 2 "), 2);
    EXPECT_EQ(ToServerTypeValue("+3"), 3);
    EXPECT_EQ(ToServerTypeValue("-32768"), -32768);
    EXPECT_EQ(ToServerTypeValue("32767"), 32767);
    EXPECT_EQ(ToServerTypeValue("2.5"), 2);    // exact half to the even neighbour
    EXPECT_EQ(ToServerTypeValue("3.5"), 4);
    EXPECT_EQ(ToServerTypeValue("1.5000001"), 2);
    EXPECT_EQ(ToServerTypeValue("-2.5"), -2);
    EXPECT_EQ(ToServerTypeValue("2.0"), 2);
    EXPECT_EQ(ToServerTypeValue("32767.4"), 32767);
    EXPECT_EQ(ToServerTypeValue("2E1"), 20);
    EXPECT_EQ(ToServerTypeValue("25e-1"), 2);
    EXPECT_EQ(ToServerTypeValue("0.00025e+4"), 2);
    EXPECT_EQ(ToServerTypeValue(".5"), 0);
    EXPECT_EQ(ToServerTypeValue("-0"), 0);
}

TEST(ServerType, TextThatIsNoInt16IsAFailure) {
    for (const char* text : {"", "  ", "abc", "2x", "0x2", "32768", "40000", "-32769",
                             "32767.5", "inf", "nan", "1e10", "+", "2 3", "1e", "2.5.1", "--2"}) {
        EXPECT_FALSE(ToServerTypeValue(text).has_value()) << '"' << text << '"';
    }
}

struct Sample {
    const char* file;
    std::optional<std::int16_t> type;
    bool supported;
};

void PrintTo(const Sample& sample, std::ostream* out) { *out << sample.file; }

class ServerTypeSample : public testing::TestWithParam<Sample> {};

TEST_P(ServerTypeSample, GivesTheRightAnswer) {
    ProductFolder product;
    product.With(GetParam().file);
    const ServerTypeReading reading = ReadServerType(product.folder());
    EXPECT_EQ(reading.type, GetParam().type) << reading.failure;
    if (!reading.type) {
        EXPECT_FALSE(reading.failure.empty());
    }
    EXPECT_EQ(PassesServerTypeCheck(ReadServerType(product.folder())), GetParam().supported);
}

INSTANTIATE_TEST_SUITE_P(
    ProductDatabases, ServerTypeSample,
    testing::Values(Sample{"type2.mdb", 2, true}, Sample{"type1.mdb", 1, false},
                    Sample{"type0.mdb", 0, false}, Sample{"type3.mdb", 3, false},
                    // Only row ID 1 counts, whatever the other rows hold.
                    Sample{"two-elsewhere.mdb", 1, false},
                    Sample{"text-2.mdb", 2, true},
                    Sample{"double-2_5.mdb", 2, true},
                    // Failures to read pass the check.
                    Sample{"no-row-1.mdb", std::nullopt, true},
                    Sample{"empty-table.mdb", std::nullopt, true},
                    Sample{"null-type.mdb", std::nullopt, true},
                    Sample{"long-overflow.mdb", std::nullopt, true},
                    Sample{"no-type-table.mdb", std::nullopt, true},
                    Sample{"not-a-database.mdb", std::nullopt, true},
                    Sample{"empty-file.mdb", std::nullopt, true}),
    [](const auto& info) {
        std::string name = info.param.file;
        for (char& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        }
        return name;
    });

TEST(ServerType, MissingDatabasePassesTheCheck) {
    ProductFolder product;
    const ServerTypeReading reading = ReadServerType(product.folder());
    EXPECT_FALSE(reading.type.has_value());
    EXPECT_NE(reading.failure.find("SQLDriverConnect"), std::string::npos) << reading.failure;
    EXPECT_TRUE(PassesServerTypeCheck(ReadServerType(product.folder())));
}

TEST(ServerType, FolderWithBlanksAndJapaneseInItsName) {
    ProductFolder product("製品 フォルダ");
    product.With("type1.mdb");
    EXPECT_EQ(ReadServerType(product.folder()).type, 1);
    EXPECT_FALSE(PassesServerTypeCheck(ReadServerType(product.folder())));
}

}  // namespace
}  // namespace selvane
