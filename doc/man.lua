-- Man pages name their sections in capitals; the manual's chapters keep their own case.
function Header(header)
  if header.level == 1 then
    return pandoc.walk_block(header, {
      Str = function(s) return pandoc.Str(pandoc.text.upper(s.text)) end
    })
  end
end

-- Tables overflow a terminal's page; in a man page each row becomes an entry of a list:
-- the first cell as the term, the others (named by their column when there are several)
-- as its description.
local function inlines(cell)
  return pandoc.utils.blocks_to_inlines(cell.contents)
end

function Table(t)
  local header = t.head.rows[1] and t.head.rows[1].cells or {}
  local items = {}
  for _, body in ipairs(t.bodies) do
    for _, row in ipairs(body.body) do
      local parts = {}
      for i = 2, #row.cells do
        local text = inlines(row.cells[i])
        if #row.cells > 2 and header[i] then
          local name = pandoc.utils.stringify(header[i].contents)
          if name ~= "" then text:insert(1, pandoc.Str(name .. ": ")) end
        end
        table.insert(parts, pandoc.Plain(text))
      end
      table.insert(items, {inlines(row.cells[1]), {parts}})
    end
  end
  return pandoc.DefinitionList(items)
end
