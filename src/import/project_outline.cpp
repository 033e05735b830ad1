#include "import/project_outline.h"

#include "app/platform.h"

// Debian's expat is built with DTD support; its limit on entity expansion is declared only then.
#define XML_DTD
#include <expat.h>

#include <limits>

// One element being parsed, with where its children and text go.
struct ProjectOutline::Open {
    OutlineNode* node = nullptr; // null when the element is not recorded
    size_t limit = 0;            // children recorded at most
    bool textOpen = false;       // the last child is text that the next piece of text extends
    bool contentFound = false;   // the first text child has been seen
    bool contentOpen = false;    // that first text child is the one being extended
};

namespace {
// A project is three elements deep; far deeper documents are refused rather than tracked.
constexpr size_t kDeepest = 256;
// The children of the path list are all recorded.
constexpr size_t kEveryChild = std::numeric_limits<size_t>::max();
// Bytes of the shortest line a written project gives a path: "<path>/a.png</path>" indented.
constexpr size_t kShortestPathBytes = 24;

XML_Parser Parser(void* parser) {
    return static_cast<XML_Parser>(parser);
}

bool WhiteOnly(const char* text, int length) {
    for (int i = 0; i < length; ++i) {
        if (text[i] != ' ' && text[i] != '\t' && text[i] != '\r' && text[i] != '\n') {
            return false;
        }
    }
    return true;
}

// How many children of an element at `depth` (the root is 1) that is its parent's `index`th
// child the reader looks at.
size_t ChildrenRecorded(size_t depth, size_t index) {
    if (depth == 1) {
        return 4; // "name", "gif", "images", "animation"
    }
    if (depth == 2 && index == 1) {
        return 3; // "width", "height", "delay_time"
    }
    if (depth == 2 && index == 2) {
        return kEveryChild; // the "path" list
    }
    return 0;
}
} // namespace

ProjectOutline::ProjectOutline(size_t bytes) : m_parser(XML_ParserCreate(nullptr)), m_bytes(bytes) {
    XML_Parser parser = Parser(m_parser);
    XML_SetUserData(parser, this);
    XML_SetElementHandler(parser, &StartElement, &EndElement);
    XML_SetCharacterDataHandler(parser, &Text);
    XML_SetCdataSectionHandler(parser, &StartSection, &EndSection);
    XML_SetCommentHandler(parser, &Comment);
    XML_SetProcessingInstructionHandler(parser, &Instruction);
    // Entities declared in the file may expand its text, but not to many times its size.
    XML_SetBillionLaughsAttackProtectionMaximumAmplification(parser, 2.0f);
    m_open.emplace_back(); // the document itself
}

ProjectOutline::~ProjectOutline() {
    XML_ParserFree(Parser(m_parser));
}

bool ProjectOutline::Parse(const char* data, size_t size, bool last) {
    constexpr size_t kPiece = 1 << 30; // the parser takes an int length
    do {
        const size_t piece = size < kPiece ? size : kPiece;
        const bool final = last && piece == size;
        if (XML_Parse(Parser(m_parser), data, static_cast<int>(piece), final) != XML_STATUS_OK) {
            return false;
        }
        data += piece;
        size -= piece;
    } while (size > 0);
    return !last || m_hasRoot;
}

std::string ProjectOutline::Error() const {
    XML_Parser parser = Parser(m_parser);
    const XML_Error code = XML_GetErrorCode(parser);
    if (code == XML_ERROR_NONE) {
        return "no root element";
    }
    return std::string(m_tooDeep ? "elements nested too deeply" : XML_ErrorString(code)) +
           " at line " + std::to_string(XML_GetCurrentLineNumber(parser));
}

OutlineNode* ProjectOutline::AddChild(bool element) {
    Open& parent = m_open.back();
    parent.textOpen = false;
    parent.contentOpen = false;
    if (parent.node == nullptr || parent.node->children.size() >= parent.limit) {
        return nullptr;
    }
    parent.node->children.emplace_back();
    parent.node->children.back().element = element;
    return &parent.node->children.back();
}

std::string_view OutlineNode::Attribute(std::string_view attribute) const {
    for (const auto& [key, value] : attributes) {
        if (key == attribute) {
            return value;
        }
    }
    return {};
}

void ProjectOutline::StartElement(void* self, const char* name, const char** attributes) {
    auto* outline = static_cast<ProjectOutline*>(self);
    if (outline->m_open.size() > kDeepest) {
        outline->m_tooDeep = true;
        XML_StopParser(Parser(outline->m_parser), XML_FALSE);
        return;
    }
    Open open;
    if (outline->m_open.size() == 1) {
        // Comments and instructions before the root are not the root.
        outline->m_root.element = true;
        outline->m_root.name = name;
        outline->m_hasRoot = true;
        open.node = &outline->m_root;
        open.limit = ChildrenRecorded(1, 0);
    } else if (OutlineNode* child = outline->AddChild(true)) {
        child->name = name;
        // The attributes the reader looks at: those of "animation" and of each "path".
        const bool isPath = outline->m_open.size() == 3 && outline->m_root.children.size() == 3 &&
                            outline->m_open.back().node == &outline->m_root.children[2];
        if (isPath || (outline->m_open.size() == 2 && outline->m_root.children.size() == 4)) {
            for (const char** pair = attributes; pair[0] != nullptr; pair += 2) {
                child->attributes.emplace_back(pair[0], pair[1]);
            }
        }
        open.node = child;
        open.limit = ChildrenRecorded(outline->m_open.size(),
                                      outline->m_open.back().node->children.size() - 1);
        if (open.limit == kEveryChild) {
            // Reserved, not touched: a list grown by doubling would move its nodes again and
            // again into fresh memory.
            std::vector<OutlineNode>& paths = child->children;
            paths.reserve(outline->m_bytes / kShortestPathBytes);
            PreferHugePages(paths.data(), paths.capacity() * sizeof(OutlineNode));
        }
    }
    outline->m_open.push_back(open);
}

void ProjectOutline::EndElement(void* self, const char*) {
    auto* outline = static_cast<ProjectOutline*>(self);
    if (outline->m_tooDeep) {
        return; // the parser may still close the element it was stopped at
    }
    outline->m_open.pop_back();
    outline->m_open.back().textOpen = false;
    outline->m_open.back().contentOpen = false;
}

void ProjectOutline::Text(void* self, const char* text, int length) {
    auto* outline = static_cast<ProjectOutline*>(self);
    Open& open = outline->m_open.back();
    if (open.textOpen) {
        if (open.contentOpen) {
            open.node->content.append(text, length);
        }
        return;
    }
    // White space before any other text is no node; the parser may deliver it in pieces.
    if (WhiteOnly(text, length)) {
        return;
    }
    outline->AddChild(false);
    open.textOpen = true;
    if (!open.contentFound && open.node != nullptr) {
        open.contentFound = open.contentOpen = true;
        open.node->content.assign(text, length);
    }
}

void ProjectOutline::StartSection(void* self) {
    auto* outline = static_cast<ProjectOutline*>(self);
    outline->AddChild(false);
    Open& open = outline->m_open.back();
    open.textOpen = true;
    if (!open.contentFound && open.node != nullptr) {
        open.contentFound = open.contentOpen = true;
    }
}

void ProjectOutline::EndSection(void* self) {
    Open& open = static_cast<ProjectOutline*>(self)->m_open.back();
    open.textOpen = false;
    open.contentOpen = false;
}

void ProjectOutline::Comment(void* self, const char*) {
    auto* outline = static_cast<ProjectOutline*>(self);
    if (outline->m_open.size() > 1) {
        outline->AddChild(false);
    }
}

void ProjectOutline::Instruction(void* self, const char*, const char*) {
    Comment(self, nullptr);
}
