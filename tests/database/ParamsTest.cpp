#include "database/mParams.h"
#include "database/qt/ParamPicture.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

TmParams everyType()
{
    TmParams params;
    params.CreateParam("s", ftString, ptInput).SetAsString("text");
    params.CreateParam("sm", ftSmallint, ptInput).SetAsSmallInt(-12);
    params.CreateParam("w", ftWord, ptInput).SetAsWord(65000);
    params.CreateParam("b", ftBoolean, ptInput).SetAsBoolean(true);
    params.CreateParam("i", ftInteger, ptInput).SetAsInteger(-123456789);
    params.CreateParam("big", ftLargeint, ptInput).SetAsLargeInt(9007199254740993LL);
    params.CreateParam("f", ftFloat, ptInput).SetAsFloat(1.25);
    params.CreateParam("c", ftCurrency, ptInput).SetAsCurrency(99.5);
    params.CreateParam("d", ftDate, ptInput).SetAsDate(EncodeDate(2020, 2, 29));
    params.CreateParam("t", ftTime, ptInput).SetAsTime(EncodeTime(13, 14, 15, 16));
    params.CreateParam("dt", ftDateTime, ptInput).SetAsDateTime(EncodeDate(1999, 12, 31) + EncodeTime(23, 59, 58, 0));
    params.CreateParam("m", ftMemo, ptInput).SetAsMemo("memo\r\nlines");
    params.CreateParam("bl", ftBlob, ptInput).SetAsBlob(std::string("\0\1\2\0", 4));
    params.CreateParam("cur", ftCursor, ptOutput);
    params.CreateParam("unknown", ftUnknown, ptUnknown).Bound = true;
    TmParam& null = params.CreateParam("null", ftInteger, ptInput);
    null.SetAsInteger(7);
    null.Clear();
    return params;
}

} // namespace

TEST(TmParams, StoredFormRoundTripsInBothVersions)
{
    TmParams params = everyType();
    for (int version : {1, 2}) {
        SCOPED_TRACE(version);
        std::string data = params.WriteBinaryData(version);
        EXPECT_EQ(static_cast<unsigned char>(data[0]), version);
        TmParams back;
        back.CreateParam("stale", ftString, ptInput);
        back.ReadBinaryData(data);
        ASSERT_EQ(back.Count(), params.Count());
        for (int i = 0; i < params.Count(); ++i) {
            SCOPED_TRACE(params[i].Name);
            EXPECT_EQ(back[i].Name, params[i].Name);
            EXPECT_EQ(back[i].DataType, params[i].DataType);
            EXPECT_EQ(back[i].ParamType, params[i].ParamType);
            EXPECT_EQ(back[i].IsNull(), params[i].IsNull());
            EXPECT_EQ(back[i].Bound, params[i].Bound);
            if (params[i].IsNull() || params[i].DataType == ftCursor || params[i].DataType == ftUnknown)
                continue;
            if (params[i].DataType >= ftDate && params[i].DataType <= ftDateTime)
                EXPECT_NEAR(back[i].AsFloat(), params[i].AsFloat(), 1e-9);
            else
                EXPECT_EQ(back[i].AsString(), params[i].AsString());
        }
    }
}

TEST(TmParams, VersionOneLayoutIsLittleEndianWithShortLengths)
{
    TmParams params;
    params.CreateParam("id", ftInteger, ptInput).SetAsInteger(0x01020304);
    std::string expected("\x01\x00\x01\x00\x02id\x01\x03\x04\x00\x04\x03\x02\x01\x00\x01", 17);
    EXPECT_EQ(params.WriteBinaryData(), expected);
}

TEST(TmParams, ParamByNameIgnoresCaseAndCopyByNameDoesNot)
{
    TmParams params;
    params.CreateParam("id", ftInteger, ptInput);
    EXPECT_EQ(&params.ParamByName("ID"), &params[0]);
    EXPECT_THROW(params.ParamByName("name"), EDatabaseError);
    try {
        params.ParamByName("name");
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Parameter 'name' not found");
    }
    TmParams source;
    source.CreateParam("ID", ftInteger, ptInput).SetAsInteger(5);
    params.AssignValues(source);
    EXPECT_TRUE(params[0].IsNull());
    source[0].Name = "id";
    params.AssignValues(source);
    EXPECT_EQ(params[0].AsInteger(), 5);
}

TEST(TmParams, WritesDataOnlyWhenThereIsSomethingToWrite)
{
    TmParams empty;
    EXPECT_FALSE(empty.WritesData(nullptr));
    TmParams one;
    one.CreateParam("a", ftString, ptInput);
    EXPECT_TRUE(one.WritesData(nullptr));
    TmParams same(one);
    EXPECT_FALSE(one.WritesData(&same));
    same[0].SetAsString("x");
    EXPECT_TRUE(one.WritesData(&same));
}

TEST(TmParams, RefusesValuesLargerThanTheStoredLimit)
{
    TmParams params;
    params.CreateParam("big", ftString, ptInput).SetAsString(std::string(2048, 'x'));
    try {
        params.WriteBinaryData();
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Parameter 'big', cannot save data larger than 2048 bytes");
    }
    params[0].SetAsString(std::string(2047, 'x'));
    EXPECT_NO_THROW(params.WriteBinaryData());
}

TEST(TmParams, ReaderRejectsDamagedStoredForms)
{
    TmParams params;
    params.CreateParam("name", ftString, ptInput).SetAsString("value");
    std::string good = params.WriteBinaryData(2);
    struct Case {
        const char* what;
        std::string data;
    } cases[] = {
        {"empty", ""},
        {"version 3", std::string("\x03\x00\x00\x00", 4)},
        {"cut in the count", good.substr(0, 3)},
        {"cut in the name", good.substr(0, 9)},
        {"cut in the value", good.substr(0, good.size() - 4)},
        {"count beyond the data", std::string("\x02\x00\xff\xff\xff\xff", 6)},
        {"name length beyond the data", std::string("\x02\x00\x01\x00\x00\x00\xff\xff\xff\x7f", 10)},
        {"value length beyond the limit", std::string("\x01\x00\x01\x00\x01n\x01\x01\xff\xff", 10)},
        {"unknown data type", std::string("\x01\x00\x01\x00\x01n\x01\xee\x00\x00\x00\x00", 12)},
        {"integer of two bytes", std::string("\x01\x00\x01\x00\x01n\x01\x03\x02\x00\x01\x02\x00\x00", 14)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TmParams back;
        EXPECT_THROW(back.ReadBinaryData(c.data), Exception);
    }
}

TEST(TmParams, UnsupportedAndUnknownTypesCannotGiveTheirBinaryForm)
{
    TmParam unknown(nullptr, "u", ftUnknown);
    TmParam bytes(nullptr, "v", ftVarBytes);
    try {
        unknown.GetData();
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Field 'u' is of unknown type");
    }
    try {
        bytes.GetData();
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Field 'v' is of an unsupported type");
    }
}

TEST(TmParam, AssignCopiesTypeValueAndNameButKeepsAKnownParamType)
{
    TmParam source(nullptr, "a", ftInteger, ptOutput);
    source.SetAsInteger(3);
    TmParam target(nullptr, "b", ftString, ptInput);
    target.Assign(source);
    EXPECT_EQ(target.Name, "a");
    EXPECT_EQ(target.DataType, ftInteger);
    EXPECT_EQ(target.AsInteger(), 3);
    EXPECT_EQ(target.ParamType, ptInput);
    TmParam fresh;
    fresh.Assign(source);
    EXPECT_EQ(fresh.ParamType, ptOutput);
    TStringList lines;
    lines.Add("one");
    fresh.Assign(lines);
    EXPECT_EQ(fresh.DataType, ftMemo);
    EXPECT_EQ(fresh.AsString(), "one\r\n");
    fresh.Clear();
    EXPECT_EQ(fresh.AsDateTime(), 0.0);
}

TEST(TmParam, APictureIsKeptAsTheBytesOfItsBitmap)
{
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(qRgb(10, 200, 30));
    picture.setPixel(2, 1, qRgb(255, 0, 0));
    TmParams params;
    TmParam& param = params.CreateParam("pic", ftUnknown, ptInput);
    AssignPicture(param, picture);
    EXPECT_EQ(param.DataType, ftGraphic);
    EXPECT_TRUE(param.Bound);
    ASSERT_FALSE(param.IsNull());
    std::string bytes = param.AsString();
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    // The stored form keeps the bytes; they load back as the same picture.
    TmParams back;
    back.ReadBinaryData(params.WriteBinaryData());
    std::string stored = back[0].AsString();
    EXPECT_EQ(back[0].DataType, ftGraphic);
    EXPECT_EQ(stored, bytes);
    QImage loaded = QImage::fromData(reinterpret_cast<const uchar*>(stored.data()), static_cast<int>(stored.size()));
    EXPECT_EQ(loaded.convertToFormat(QImage::Format_RGB32), picture);

    AssignPicture(param, QImage());
    EXPECT_EQ(param.DataType, ftGraphic);
    EXPECT_EQ(param.AsString(), "");
}
