#include "encode/TagAssembly.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "encode/Id3v1Genres.h"
#include "encode/Utf8ToLocal.h"
#include "input/AsciiCase.h"

namespace {

// Characters a file name cannot hold on the desktop these tags travel to;
// players that name files after tags choke on them.
constexpr std::string_view kFileNameFilter = "<>:\"\\/|*?";
constexpr char kFilterReplacement = '_';

constexpr std::size_t kId3v1TextLimit = 30;
constexpr std::size_t kId3v1TrackLimit = 3;
constexpr std::size_t kId3v1YearLimit = 4;
constexpr const char* kFallbackGenre = "Other";
constexpr std::size_t kYearDigits = 4;

// Only the custom and comment tag modes choose the ID3 versions; the default
// mode leaves the library its own choice.
bool ChoosesId3Versions(const Settings& options) {
    return options.TagMode == TagModeChoice::Custom || options.TagMode == TagModeChoice::Comments;
}

enum class CommentAction { TrackGain, AlbumGain, Field };

struct CommentKey {
    std::string_view Key;
    CommentAction Action;
    TagFrame Frame;
    std::size_t Id3v1Limit;  // 0: the genre check instead of a limit
};

// Order matters: the first key that matches decides.
constexpr CommentKey kCommentKeys[] = {
    {"RG_RADIO=", CommentAction::TrackGain, TagFrame::Title, 0},
    {"REPLAYGAIN_TRACK_GAIN=", CommentAction::TrackGain, TagFrame::Title, 0},
    {"RG_AUDIOPHILE=", CommentAction::AlbumGain, TagFrame::Title, 0},
    {"REPLAYGAIN_ALBUM_GAIN=", CommentAction::AlbumGain, TagFrame::Title, 0},
    {"ARTIST=", CommentAction::Field, TagFrame::Artist, kId3v1TextLimit},
    {"ALBUM=", CommentAction::Field, TagFrame::Album, kId3v1TextLimit},
    {"TRACKNUMBER=", CommentAction::Field, TagFrame::Track, kId3v1TrackLimit},
    {"TITLE=", CommentAction::Field, TagFrame::Title, kId3v1TextLimit},
    {"DATE=", CommentAction::Field, TagFrame::Year, kId3v1YearLimit},
    {"GENRE=", CommentAction::Field, TagFrame::Genre, 0},
};

std::string Filtered(std::string text) {
    for (char& c : text) {
        if (kFileNameFilter.find(c) != std::string_view::npos) c = kFilterReplacement;
    }
    return text;
}

// The longest leading decimal number, as the C library's conversion reads it
// in the "C" locale. from_chars never looks at the locale, which a desktop
// program sets to the user's (where "-6.02" could read as -6).
double ReadGain(std::string_view value) {
    std::size_t pos = 0;
    while (pos < value.size() && (value[pos] == ' ' || (value[pos] >= '\t' && value[pos] <= '\r'))) ++pos;
    if (pos < value.size() && value[pos] == '+') {
        ++pos;
        if (pos < value.size() && (value[pos] == '+' || value[pos] == '-')) return 0.0;
    }
    double gain = 0.0;
    auto [end, error] = std::from_chars(value.data() + pos, value.data() + value.size(), gain);
    (void)end;
    return error == std::errc() ? gain : 0.0;
}

// ID3v2.3's year frame holds four digits and readers drop anything else, so
// a date that begins with a year (an ISO date, the usual Vorbis comment
// form) gives just that year. Other values are passed on as they are.
std::string_view YearOf(std::string_view date) {
    if (date.size() < kYearDigits) return date;
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    return std::all_of(date.begin(), date.begin() + kYearDigits, isDigit) ? date.substr(0, kYearDigits) : date;
}

TagField FieldFromUtf8(TagFrame frame, const std::string& utf8) {
    return TagField{frame, Utf8ToLocal(utf8), utf8};
}

std::string GenreForId3v1Only(const std::string& latin1) {
    for (const std::string& name : Id3v1GenreNames()) {
        if (EqualsIgnoringAsciiCase(latin1, name)) return latin1;
    }
    return kFallbackGenre;
}

const char* FrameId(TagFrame frame) {
    switch (frame) {
        case TagFrame::Title: return "TIT2";
        case TagFrame::Artist: return "TPE1";
        case TagFrame::Album: return "TALB";
        case TagFrame::Year: return "TYER";
        case TagFrame::Track: return "TRCK";
        case TagFrame::Genre: return "TCON";
    }
    return "TIT2";
}

}  // namespace

TagSource ChooseTagSource(const Settings& options) {
    if (options.AutoTag.On()) return options.TagMode == TagModeChoice::Custom ? TagSource::Templates : TagSource::Path;
    return options.TagMode == TagModeChoice::Comments ? TagSource::Comments : TagSource::None;
}

std::vector<TagField> TagFieldsFromPath(const InputPathParts& parts) {
    return {FieldFromUtf8(TagFrame::Artist, NameToUtf8(parts.GrandParentName)),
            FieldFromUtf8(TagFrame::Album, NameToUtf8(parts.ParentName)),
            FieldFromUtf8(TagFrame::Title, NameToUtf8(parts.BaseName))};
}

std::string ExpandTagTemplate(const std::string& pattern, const InputPathParts& parts) {
    std::string result;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            result.push_back(pattern[i]);
            continue;
        }
        char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (next == '1') result += NameToUtf8(parts.BaseName);
        else if (next == '2') result += NameToUtf8(parts.ParentName);
        else if (next == '3') result += NameToUtf8(parts.GrandParentName);
        else continue;  // the '%' alone is dropped
        ++i;
    }
    return result;
}

std::vector<TagField> TagFieldsFromTemplates(const Settings& options, const InputPathParts& parts) {
    std::vector<TagField> fields;
    const std::pair<TagFrame, const std::string*> templates[] = {
        {TagFrame::Artist, &options.Artist}, {TagFrame::Album, &options.Album}, {TagFrame::Title, &options.Title}};
    for (const auto& [frame, pattern] : templates) {
        TagField field = FieldFromUtf8(frame, ExpandTagTemplate(*pattern, parts));
        if (options.id3Tag == Id3TagChoice::V1Only && field.Latin1.size() > kId3v1TextLimit) {
            field.Latin1.resize(kId3v1TextLimit);
        }
        fields.push_back(std::move(field));
    }
    fields.push_back(FieldFromUtf8(TagFrame::Year, std::string(YearOf(options.Year))));
    if (!options.Genre.empty()) fields.push_back(FieldFromUtf8(TagFrame::Genre, options.Genre));
    return fields;
}

std::vector<TagField> TagFieldsFromComments(CommentList& comments, const Settings& options, bool wantFields,
                                            bool wantGains, ReplayGains& gains) {
    std::vector<TagField> fields;
    const bool id3v1Only = options.id3Tag == Id3TagChoice::V1Only;
    while (std::optional<std::string> entry = TakeComment(comments)) {
        const std::string_view text = *entry;
        for (const CommentKey& key : kCommentKeys) {
            if (!StartsWithIgnoringAsciiCase(text, key.Key)) continue;
            std::string_view value = text.substr(key.Key.size());
            if (key.Frame == TagFrame::Year) value = YearOf(value);
            if (key.Action == CommentAction::TrackGain) {
                if (wantGains) gains.Track = ReadGain(value);
            } else if (key.Action == CommentAction::AlbumGain) {
                if (wantGains) gains.Album = ReadGain(value);
            } else if (wantFields) {
                // The Latin-1 form is filtered after conversion, so a character
                // Latin-1 lacks ends up as '_' like any other unsafe one.
                TagField field{key.Frame, Filtered(Utf8ToLocal(value)), Filtered(std::string(value))};
                if (id3v1Only && key.Frame == TagFrame::Genre) {
                    if (!field.Latin1.empty()) field.Latin1 = field.Utf8 = GenreForId3v1Only(field.Latin1);
                } else if (id3v1Only && field.Latin1.size() > key.Id3v1Limit) {
                    field.Latin1.resize(key.Id3v1Limit);
                }
                if (!field.Latin1.empty()) fields.push_back(std::move(field));
            }
            break;
        }
    }
    return fields;
}

void ApplyTagFields(lame_t context, const std::vector<TagField>& fields, bool allowUtf16Frames) {
    for (const TagField& field : fields) {
        const char* text = field.Latin1.c_str();
        switch (field.Frame) {
            case TagFrame::Title: id3tag_set_title(context, text); break;
            case TagFrame::Artist: id3tag_set_artist(context, text); break;
            case TagFrame::Album: id3tag_set_album(context, text); break;
            case TagFrame::Year: id3tag_set_year(context, text); break;
            case TagFrame::Track: id3tag_set_track(context, text); break;
            case TagFrame::Genre: id3tag_set_genre(context, text); break;
        }
        if (allowUtf16Frames && !FitsLatin1(field.Utf8)) {
            // Replaces the Latin-1 frame the setter just made for ID3v2; the
            // ID3v1 tag keeps the Latin-1 form.
            std::vector<unsigned short> utf16 = Utf8ToUtf16ForTag(field.Utf8);
            id3tag_set_textinfo_utf16(context, FrameId(field.Frame), utf16.data());
        }
    }
}

ReplayGains AssembleTags(lame_t context, const Settings& options, const InputPathParts& parts,
                         CommentList& comments) {
    const TagSource source = ChooseTagSource(options);
    ReplayGains gains;
    // Whatever the source, the comments are drained here so none reach the
    // next file; the gains are read whenever scaling needs them.
    const bool commentsGiveFields = source == TagSource::Comments;
    std::vector<TagField> fromComments = TagFieldsFromComments(comments, options, commentsGiveFields,
                                                               commentsGiveFields || ScalingOn(options.ScaleMode), gains);

    std::vector<TagField> fields;
    if (source == TagSource::Path) fields = TagFieldsFromPath(parts);
    else if (source == TagSource::Templates) fields = TagFieldsFromTemplates(options, parts);
    else if (source == TagSource::Comments) fields = std::move(fromComments);

    comments.Pictures.clear();  // the job has taken the one it carries
    ApplyTagFields(context, fields, MayWriteId3v2(options));
    return gains;
}

bool MayWriteId3v2(const Settings& options) {
    return !(ChoosesId3Versions(options) && options.id3Tag == Id3TagChoice::V1Only);
}

void ApplyId3Version(lame_t context, const Settings& options, bool carriesPicture) {
    if (!ChoosesId3Versions(options)) {
        if (carriesPicture) id3tag_add_v2(context);
        return;
    }
    switch (options.id3Tag) {
        case Id3TagChoice::AlsoV2: id3tag_add_v2(context); break;
        case Id3TagChoice::V1Only: id3tag_v1_only(context); break;
        case Id3TagChoice::V2Only: id3tag_v2_only(context); break;
        default:
            if (carriesPicture) id3tag_add_v2(context);
            break;
    }
}
